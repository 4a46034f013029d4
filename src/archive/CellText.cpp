#include "CellText.h"

#include <QLocale>

namespace luvir {

const QStringList DirectionArrows = {
    QStringLiteral("\u2191"), QStringLiteral("\u2197"), QStringLiteral("\u2192"),
    QStringLiteral("\u2198"), QStringLiteral("\u2193"),
};

const QStringList ElementKindNames = {
    QStringLiteral("изделие"),     QStringLiteral("фунд. блок"),  QStringLiteral("колонна"),
    QStringLiteral("балка"),       QStringLiteral("ригель"),      QStringLiteral("плита"),
    QStringLiteral("внутр.стена"), QStringLiteral("наруж.стена"), QStringLiteral("стяжка"),
    QStringLiteral("ферма"),       QStringLiteral("свая"),        QStringLiteral("полы"),
};

const QStringList DependencyNames = {
    QStringLiteral("БАЗОВАЯ"),     QStringLiteral("ИНДИВИД.<1>"), QStringLiteral("ИНДИВИД.<2>"),
    QStringLiteral("ИНДИВИД.<3>"), QStringLiteral("ИНДИВИД.<4>"), QStringLiteral("ИНДИВИД.<5>"),
    QStringLiteral("ИНДИВИД.<6>"), QStringLiteral("ИНДИВИД.<7>"), QStringLiteral("ИНДИВИД.<8>"),
    QStringLiteral("ИНДИВИД.<9>"),
};

namespace {

QString fromTable(const QStringList &table, std::uint8_t code)
{
    return code < table.size() ? table.at(code) : QString();
}

// A whole number of tenths (or hundredths) written with a fixed number of decimals.
QString fixedPoint(unsigned value, unsigned decimals, const QString &separator)
{
    const unsigned scale = decimals == 1 ? 10 : 100;
    return QString::number(value / scale) + separator
        + QStringLiteral("%1").arg(value % scale, static_cast<int>(decimals), 10, QLatin1Char('0'));
}

QString twoDigits(std::uint8_t value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString systemDecimalSeparator()
{
    return QLocale::system().decimalPoint();
}

QString directionText(const ArchiveCell &cell)
{
    return fromTable(DirectionArrows, cell.byte(ArchiveCell::Direction));
}

QString elementKindText(const ArchiveCell &cell)
{
    return fromTable(ElementKindNames, cell.byte(ArchiveCell::ElementKind));
}

QString dependencyText(const ArchiveCell &cell)
{
    return fromTable(DependencyNames, cell.byte(ArchiveCell::Dependency));
}

QString strengthText(const ArchiveCell &cell, const QString &separator)
{
    const unsigned tenths = cell.strengthWord();
    if (tenths % 10 == 0)
        return QString::number(tenths / 10);
    return fixedPoint(tenths, 1, separator);
}

QString strengthFixedText(const ArchiveCell &cell, const QString &separator)
{
    return fixedPoint(cell.strengthWord(), 1, separator);
}

QString impactValueText(std::uint16_t word, const QString &separator)
{
    const unsigned tenths = isMarkedValue(word) ? word - MarkedValueBit : word;
    return fixedPoint(tenths, 1, separator);
}

QString kcText(const ArchiveCell &cell, const QString &separator)
{
    return fixedPoint(cell.byte(ArchiveCell::Kc), 2, separator);
}

QString dateTimeText(const ArchiveCell &cell)
{
    using C = ArchiveCell;
    return twoDigits(cell.byte(C::Day)) + u'.' + twoDigits(cell.byte(C::Month)) + QStringLiteral(".20")
        + twoDigits(cell.byte(C::Year)) + u' ' + twoDigits(cell.byte(C::Hour)) + u':'
        + twoDigits(cell.byte(C::Minute)) + u':' + twoDigits(cell.byte(C::Second));
}

QString intermediateValuesLine(const ArchiveCell &cell, const QString &separator)
{
    QString line = QStringLiteral("Промежуточные значения: ");
    for (int j = 0; j < kImpactCount; ++j) {
        const std::uint16_t word = cell.impactWord(j);
        if (word != 0)
            line += impactValueText(word, separator) + QStringLiteral("; ");
    }
    return line;
}

} // namespace luvir
