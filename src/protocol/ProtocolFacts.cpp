#include "ProtocolFacts.h"

#include "AppliedDependencyText.h"
#include "CalibText.h"
#include "CellText.h"
#include "MeasurementTable.h"
#include "RegisterCalibration.h"
#include "SeriesTable.h"

namespace luvir {

const QStringList ProtocolSiteColumns = {
    QStringLiteral("№ п/п"),       QStringLiteral("Участок"),     QStringLiteral("Дата и время"),
    QStringLiteral("Направление"), QStringLiteral("Зависимость"), QStringLiteral("Kc"),
    QStringLiteral("R, МПа"),
};

const QString ProtocolDependencyColumn = QStringLiteral("R по градуировке, МПа");

const QStringList ProtocolDependencySiteColumns = {
    QStringLiteral("№ п/п"), QStringLiteral("Участок"), QStringLiteral("H, МПа"),
    QStringLiteral("R прямой, МПа"), QStringLiteral("Учёт"),
};

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

// The intermediate values of a site, "25,0; 26,1; …", as the table's line shows them.
QString valuesText(const ArchiveCell &cell, const QString &separator)
{
    QStringList values;
    for (int j = 0; j < kImpactCount; ++j)
        if (const std::uint16_t word = cell.impactWord(j); word != 0)
            values << impactValueText(word, separator);
    return values.join(QStringLiteral("; "));
}

// "Rm = 27,4 МПа"; an undefined figure has no unit.
QString figureText(const QString &name, const QString &value, const QString &unit)
{
    if (value == kUndefinedFigure || unit.isEmpty())
        return name + QStringLiteral(" = ") + value;
    return name + QStringLiteral(" = ") + value + u' ' + unit;
}

// A strength as the table writes it ("58" or "58,3") with one decimal ("58,0"), as Rm is.
QString withOneDecimal(const QString &strength, const QString &separator)
{
    if (strength == kUndefinedFigure || strength.contains(separator))
        return strength;
    return strength + separator + u'0';
}

QString statisticsLine(const SeriesGroup &group, const QString &separator)
{
    QStringList f = seriesGroupFields(group, separator, false);
    f[2] = withOneDecimal(f.at(2), separator);
    f[3] = withOneDecimal(f.at(3), separator);
    const QString mpa = QStringLiteral("МПа");
    return QStringList {
        figureText(QStringLiteral("n"), f.at(1), {}),
        figureText(QStringLiteral("Rmin"), f.at(2), mpa),
        figureText(QStringLiteral("Rmax"), f.at(3), mpa),
        figureText(QStringLiteral("Rm"), f.at(4), mpa),
        figureText(QStringLiteral("Sm"), f.at(5), mpa),
        figureText(QStringLiteral("Vm"), f.at(6), QStringLiteral("%")),
    }
        .join(QStringLiteral("; "));
}

// The concrete's age in days on the days of testing. A concreting date after the first
// test is a mistake of the record, not an age: "—", and the note says why.
QString ageText(const QDate &concreted, const TestingDays &days, QString &note)
{
    if (!concreted.isValid() || !days.first)
        return {};
    if (concreted > *days.first) {
        note = QStringLiteral("Примечание: дата бетонирования %1 позже первого испытания %2; возраст бетона "
                              "не определён.")
                   .arg(concreted.toString(kDateFormat), days.first->toString(kDateFormat));
        return QString(kUndefinedFigure);
    }
    const qint64 first = concreted.daysTo(*days.first);
    const qint64 last = concreted.daysTo(*days.last);
    if (first == last)
        return QString::number(first);
    return QString::number(first) + u'\u2013' + QString::number(last);
}

// The strengths by the structure's calibration: a column of the site rows (before the
// intermediate values), the figures, and the lines naming it.
void useDependency(StructureFacts &facts, const ProtocolStructure &structure, const QString &separator)
{
    const AppliedDependency &dependency = *structure.dependency;
    QList<ArchiveCell> cells;
    cells.reserve(structure.sites.size());
    for (const ProtocolSite &site : structure.sites)
        cells << site.cell;
    const DependencySeries series = dependencySeries(dependency, cells);
    const qsizetype at = ProtocolSiteColumns.size();
    for (qsizetype i = 0; i < facts.siteRows.size(); ++i) {
        const auto &strength = series.strengths.at(i);
        facts.siteRows[i].insert(at, strength ? dependencyStrengthText(*strength, separator) : kUndefinedFigure);
    }
    facts.group.figures = seriesFiguresOfTenths(series.tenths, separator);
    facts.byDependency = true;
    facts.dependencyLines = appliedDependencyLines(dependency, separator);
    facts.dependencyLines << dependencyConditionsText(dependency, series.outside,
        static_cast<int>(series.tenths.size()), separator);
}

StructureFacts structureFacts(const ProtocolStructure &structure, bool withValues,
                              const QString &separator, QStringList &calibrations)
{
    StructureFacts facts;
    QList<Measurement> series;
    series.reserve(structure.sites.size());
    facts.siteRows.reserve(structure.sites.size());
    int number = 0;
    for (const ProtocolSite &site : structure.sites) {
        ++number;
        // The main table's texts: №, date and time, kind, direction, dependency, Kc, R.
        const QStringList t = measurementRow(site.cell, number, separator);
        QStringList row {t.at(0), site.label, t.at(1), t.at(3), t.at(4), t.at(5),
            strengthFixedText(site.cell, separator)};
        if (withValues)
            row << valuesText(site.cell, separator);
        facts.siteRows.append(row);

        Measurement measurement;
        measurement.cell = site.cell;
        measurement.number = number;
        measurement.site = site.label;
        series.append(measurement);

        const QString calibration = t.at(4) + QStringLiteral(", Kc = ") + t.at(5);
        if (!calibrations.contains(calibration))
            calibrations << calibration;
        if (const auto day = measurementDay(site.cell))
            facts.days.add(*day);
    }
    facts.group = seriesGroup(structure.name, series, separator);
    if (structure.dependency)
        useDependency(facts, structure, separator);
    facts.ageText = ageText(structure.concreted, facts.days, facts.ageNote);
    facts.statisticsLine = statisticsLine(facts.group, separator);
    if (facts.byDependency)
        facts.statisticsLine = QStringLiteral("По градуировке: ") + facts.statisticsLine;
    // The strength by a laboratory's calibration is taken from H, the meter's reading before its
    // Kc: the meter's Kc no longer enters it, its dependency still does.
    SeriesGroup judged = facts.group;
    if (facts.byDependency)
        judged.kcs.clear();
    if (const QString reason = mixedCalibrationReason(judged); !reason.isEmpty())
        facts.mixedNote = QStringLiteral("Примечание: ") + reason + u'.';
    return facts;
}

} // namespace

QString valuesLine(const QString &number, const QString &values)
{
    return QStringLiteral("№ %1 — единичные значения, МПа: %2").arg(number, values);
}

void TestingDays::add(const QDate &day)
{
    if (!first || day < *first)
        first = day;
    if (!last || day > *last)
        last = day;
}

QString TestingDays::text() const
{
    if (!first)
        return {};
    if (*first == *last)
        return first->toString(kDateFormat);
    return first->toString(kDateFormat) + QStringLiteral(" \u2013 ") + last->toString(kDateFormat);
}

std::optional<QDate> measurementDay(const ArchiveCell &cell)
{
    const QDate day(2000 + cell.byte(ArchiveCell::Year), cell.byte(ArchiveCell::Month),
                    cell.byte(ArchiveCell::Day));
    if (!day.isValid())
        return std::nullopt;
    return day;
}

namespace {

void addDependency(QList<DependencyFacts> &all, const ProtocolStructure &structure, const QString &separator)
{
    const AppliedDependency &dependency = *structure.dependency;
    for (DependencyFacts &known : all)
        if (known.dependency == dependency) {
            known.structures << structure.name;
            return;
        }
    DependencyFacts facts {dependency, {structure.name}, appliedDependencyLines(dependency, separator), {}};
    int number = 0;
    for (const AppliedSite &site : dependency.sites)
        facts.siteRows << QStringList {QString::number(++number), site.label,
            calibNumber(site.indirect, 2, separator), calibNumber(site.direct, 1, separator),
            appliedSiteStandingText(dependency, site)};
    all << facts;
}

} // namespace

ProtocolFacts protocolFacts(const ProtocolContent &content, const QString &separator)
{
    ProtocolFacts facts;
    for (const ProtocolStructure &structure : content.structures) {
        if (structure.dependency) {
            addDependency(facts.dependencies, structure, separator);
            const QString calibration = appliedDependencyTitle(*structure.dependency, separator)
                + QStringLiteral(" (набор «%1»)").arg(structure.dependency->setName);
            if (!facts.calibrations.contains(calibration))
                facts.calibrations << calibration;
        }
        StructureFacts s = structureFacts(structure, content.withValues, separator, facts.calibrations);
        if (s.days.first) {
            facts.days.add(*s.days.first);
            facts.days.add(*s.days.last);
        }
        facts.structures.append(std::move(s));
    }
    return facts;
}

} // namespace luvir
