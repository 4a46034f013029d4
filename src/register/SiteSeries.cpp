#include "SiteSeries.h"

namespace luvir {

namespace {

// The label after `label`, or `label` itself when it cannot count on.
QString nextLabel(const QString &label)
{
    if (label.isEmpty())
        return label;
    if (label.back().isDigit()) {
        qsizetype start = label.size();
        while (start > 0 && label.at(start - 1).isDigit())
            --start;
        // Counted on as text, so that a number of any length and its leading zeros stay.
        QString digits = label.mid(start);
        qsizetype i = digits.size() - 1;
        while (i >= 0 && digits.at(i) == u'9')
            digits[i--] = u'0';
        if (i >= 0)
            digits[i] = QChar(digits.at(i).unicode() + 1);
        else
            digits.prepend(u'1');
        return label.left(start) + digits;
    }
    static const QString russian = QStringLiteral("абвгдежзиклмнопрстуфхцчшщэюя");
    static const QString latin = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    const QChar last = label.back();
    for (const QString &alphabet : {russian, russian.toUpper(), latin, latin.toUpper()}) {
        const qsizetype at = alphabet.indexOf(last);
        if (at >= 0 && at + 1 < alphabet.size())
            return label.left(label.size() - 1) + alphabet.at(at + 1);
    }
    return label;
}

} // namespace

QStringList siteSeries(const QString &first, int count)
{
    QStringList labels;
    QString label = first;
    for (int i = 0; i < count; ++i) {
        labels << label;
        label = nextLabel(label);
    }
    return labels;
}

} // namespace luvir
