#pragma once
// Where finding and opening the meter tells the user what happened.

#include <QString>

namespace luvir {

class ConnectReporter
{
public:
    virtual ~ConnectReporter() = default;
    // A failure: a message box, then the same text in the status line.
    virtual void reportFailure(const QString &text) = 0;
    // A message box alone; the status line keeps its text.
    virtual void showMessage(const QString &text) = 0;
    // The status line alone, without a box.
    virtual void showStatus(const QString &text) = 0;
};

} // namespace luvir
