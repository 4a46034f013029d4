#pragma once
// What every command works with: the console, and what it takes from the system (the
// decimal separator and locale of the user's regional settings, the current time).
// Tests give their own.

#include "Console.h"

#include <QDateTime>
#include <QLocale>

#include <functional>

namespace luvir::cli {

struct CliContext {
    Console &console;
    QString decimalSeparator; // of every number in the table and the report
    QLocale locale; // of the report title's date and time
    std::function<QDateTime()> now; // the moment a report is made

    // The system's settings and clock, as the window takes them.
    static CliContext fromSystem(Console &console);
};

} // namespace luvir::cli
