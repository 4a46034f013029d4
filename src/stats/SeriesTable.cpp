#include "SeriesTable.h"

namespace luvir {

namespace {

// The titles of the columns, the figures' between the group's and Vm's.
QStringList seriesTitles(const QString &group, const QString &variation)
{
    return {group, QStringLiteral("n"), QStringLiteral("Rmin"), QStringLiteral("Rmax"), QStringLiteral("Rm"),
        QStringLiteral("Sm"), variation};
}

} // namespace

const QStringList SeriesColumnTitles = seriesTitles(QStringLiteral("Группа"), QStringLiteral("Vm, %"));
const QStringList SeriesCommandLineTitles = seriesTitles(QStringLiteral("группа"), QStringLiteral("Vm"));

QStringList seriesGroupFields(const SeriesGroup &group, const QString &separator, bool markMixed)
{
    const SeriesFigures &f = group.figures;
    const bool mark = markMixed && group.mixesCalibrations();
    return {
        mark ? group.name + u'!' : group.name,
        QString::number(f.count),
        f.count > 0 ? f.minimumText : kUndefinedFigure,
        f.count > 0 ? f.maximumText : kUndefinedFigure,
        tenthsText(f.meanTenths, separator),
        tenthsText(f.deviationTenths, separator),
        tenthsText(f.variationTenths, separator),
    };
}

QList<QStringList> seriesTableLines(
    const QList<SeriesGroup> &groups, const QString &separator, const QStringList &titles)
{
    QList<QStringList> lines {titles};
    for (const SeriesGroup &group : groups)
        lines.append(seriesGroupFields(group, separator, true));
    return lines;
}

QList<QStringList> seriesDataLines(const QList<SeriesGroup> &groups, const QString &separator)
{
    QList<QStringList> lines {SeriesColumnTitles + QStringList {QStringLiteral("Предупреждение")}};
    for (const SeriesGroup &group : groups)
        lines.append(seriesGroupFields(group, separator, false) << mixedCalibrationWarning(group));
    return lines;
}

QString tabSeparated(const QList<QStringList> &lines)
{
    QString text;
    for (const QStringList &line : lines)
        text += line.join(u'\t') + u'\n';
    return text;
}

} // namespace luvir
