#pragma once
// Where the device commands send what the user sees: failure messages, message boxes of
// their own, and the two texts of the download dialog.

#include <QString>

namespace luvir {

class CommandReporter
{
public:
    virtual ~CommandReporter() = default;
    // A failure: a message box, then the same text in the status line.
    virtual void reportFailure(const QString &text) = 0;
    // A message box alone; the status line keeps its text.
    virtual void showMessage(const QString &text) = 0;
    // "Версия протокола:1.0", for the dialog's version label.
    virtual void showProtocolVersion(const QString &text) = 0;
    // "Размер архива: 300", for the dialog's size label.
    virtual void showArchiveSize(const QString &text) = 0;
};

} // namespace luvir
