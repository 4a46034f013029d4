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

QString tenthsText(std::uint64_t tenths, const QString &separator)
{
    return QString::number(tenths / 10) + separator + QString::number(tenths % 10);
}

QString strengthText(const ArchiveCell &cell, const QString &separator)
{
    const unsigned tenths = cell.strengthWord();
    if (tenths % 10 == 0)
        return QString::number(tenths / 10);
    return tenthsText(tenths, separator);
}

QString strengthFixedText(const ArchiveCell &cell, const QString &separator)
{
    return tenthsText(cell.strengthWord(), separator);
}

QString impactValueText(std::uint16_t word, const QString &separator)
{
    const unsigned tenths = isMarkedValue(word) ? word - MarkedValueBit : word;
    return tenthsText(tenths, separator);
}

QString kcText(const ArchiveCell &cell, const QString &separator)
{
    const unsigned hundredths = cell.byte(ArchiveCell::Kc);
    return QString::number(hundredths / 100) + separator
        + QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
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
