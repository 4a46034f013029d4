#pragma once
// A report text read as the number a spreadsheet should hold, with the number format that
// makes the spreadsheet show the same text again.

#include <QByteArray>
#include <QString>

#include <optional>

namespace luvir {

struct SpreadsheetNumber {
    double value = 0;
    // "0", "0.0", "0.00", ...: as many decimals as the text has, no thousands separator.
    // Spreadsheets show the "." as the decimal separator of the reader's settings.
    QByteArray numberFormat;
};

// Reads texts of the form DIGITS or DIGITS SEPARATOR DIGITS (ASCII digits, the separator
// ".", "," or the Arabic decimal separator). Texts the number would not give back
// exactly stay texts: a sign, a leading zero ("07"), more than 15 digits, blanks, anything
// else.
std::optional<SpreadsheetNumber> spreadsheetNumber(const QString &text);

} // namespace luvir
