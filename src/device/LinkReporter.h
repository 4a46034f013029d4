#pragma once
// How the device link tells the user what happened: finding the meter, its commands and a
// whole download all report through this one interface (or an extension of it).

#include <QString>

namespace luvir {

class LinkReporter
{
public:
    virtual ~LinkReporter() = default;
    // A failure: a message box, then the same text in the status line.
    virtual void reportFailure(const QString &text) = 0;
    // A message box alone; the status line keeps its text.
    virtual void showMessage(const QString &text) = 0;
    // The status line alone, without a box: "Читаю версию протокола", "Считано успешно", …
    virtual void showStatus(const QString &text) = 0;
};

} // namespace luvir
