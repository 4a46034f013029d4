#include "NaturalOrder.h"

namespace luvir {

namespace {

// The run of digits (or of other characters) starting at `from`.
QStringView runAt(const QString &text, qsizetype from)
{
    const bool digits = text.at(from).isDigit();
    qsizetype end = from;
    while (end < text.size() && text.at(end).isDigit() == digits)
        ++end;
    return QStringView(text).mid(from, end - from);
}

// Two runs of digits as the numbers they write, however long: leading zeros left out,
// then the longer is greater, then digit by digit.
int compareNumbers(QStringView a, QStringView b)
{
    auto significant = [](QStringView digits) {
        qsizetype zeros = 0;
        while (zeros + 1 < digits.size() && digits.at(zeros) == u'0')
            ++zeros;
        return digits.mid(zeros);
    };
    const QStringView x = significant(a);
    const QStringView y = significant(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    for (qsizetype i = 0; i < x.size(); ++i)
        if (x.at(i).digitValue() != y.at(i).digitValue())
            return x.at(i).digitValue() < y.at(i).digitValue() ? -1 : 1;
    return 0;
}

} // namespace

int naturalCompare(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const QStringView x = runAt(a, i);
        const QStringView y = runAt(b, j);
        const bool xDigits = x.front().isDigit();
        const bool yDigits = y.front().isDigit();
        int order = 0;
        if (xDigits && yDigits)
            order = compareNumbers(x, y);
        else if (xDigits != yDigits)
            order = xDigits ? -1 : 1; // a number before a letter: "2" before "а"
        else
            order = x.compare(y, Qt::CaseInsensitive);
        if (order != 0)
            return order < 0 ? -1 : 1;
        i += x.size();
        j += y.size();
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1; // the shorter first: "2" before "2а"
    // Equal but for case or leading zeros: a fixed order all the same.
    const int exact = a.compare(b);
    return exact < 0 ? -1 : exact > 0 ? 1 : 0;
}

} // namespace luvir
