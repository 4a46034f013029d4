#include "SpreadsheetNumber.h"

namespace luvir {

namespace {

constexpr int kMaxDigits = 15; // every decimal of up to 15 digits survives a double

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The decimal separators of the regional settings: point, comma, Arabic decimal separator.
bool isDecimalSeparator(QChar c)
{
    return c == u'.' || c == u',' || c == u'\u066B';
}

} // namespace

std::optional<SpreadsheetNumber> spreadsheetNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && isAsciiDigit(text.at(i)))
        ++i;
    const qsizetype wholeDigits = i;
    if (wholeDigits == 0 || (wholeDigits > 1 && text.at(0) == u'0'))
        return std::nullopt;
    qsizetype decimals = 0;
    if (i < text.size()) {
        if (!isDecimalSeparator(text.at(i)))
            return std::nullopt;
        ++i;
        while (i + decimals < text.size() && isAsciiDigit(text.at(i + decimals)))
            ++decimals;
        if (decimals == 0 || i + decimals != text.size())
            return std::nullopt;
    }
    if (wholeDigits + decimals > kMaxDigits)
        return std::nullopt;

    // Both the digits as a whole number and the power of ten are exact doubles, and one
    // division rounds correctly, so the value is the double nearest to the text.
    double digits = 0;
    for (qsizetype k = 0; k < text.size(); ++k)
        if (isAsciiDigit(text.at(k)))
            digits = digits * 10 + (text.at(k).unicode() - u'0');
    double scale = 1;
    for (qsizetype k = 0; k < decimals; ++k)
        scale *= 10;

    SpreadsheetNumber number;
    number.value = digits / scale;
    number.numberFormat = decimals == 0 ? QByteArray("0") : "0." + QByteArray(decimals, '0');
    return number;
}

} // namespace luvir
