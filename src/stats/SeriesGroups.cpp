#include "SeriesGroups.h"

namespace luvir {

namespace {

// At most this many values are named; the rest are counted.
constexpr qsizetype kNamedValues = 4;

QString valueList(const QStringList &values)
{
    QStringList named;
    for (const QString &value : values.first(std::min(values.size(), kNamedValues)))
        named << (value.isEmpty() ? kUndefinedFigure : value);
    QString list = named.join(QStringLiteral("; "));
    if (values.size() > kNamedValues)
        list += QStringLiteral(" и ещё %1").arg(values.size() - kNamedValues);
    return list;
}

} // namespace

SeriesGroup seriesGroup(const QString &name, const QList<SeriesRow> &rows)
{
    SeriesGroup group;
    group.name = name;
    group.figures = seriesFigures(rows);
    for (const SeriesRow &row : rows) {
        if (!group.dependencies.contains(row.dependency))
            group.dependencies << row.dependency;
        if (!group.kcs.contains(row.kc))
            group.kcs << row.kc;
    }
    return group;
}

QList<SeriesGroup> seriesGroups(const QList<SeriesRow> &rows, bool byKind)
{
    QList<SeriesGroup> groups {seriesGroup(kAllRowsGroup, rows)};
    if (!byKind)
        return groups;
    QStringList kinds;
    QList<QList<SeriesRow>> members;
    for (const SeriesRow &row : rows) {
        const QString kind = row.kind.isEmpty() ? kNoKindGroup : row.kind;
        qsizetype at = kinds.indexOf(kind);
        if (at < 0) {
            at = kinds.size();
            kinds << kind;
            members.append(QList<SeriesRow>());
        }
        members[at].append(row);
    }
    for (qsizetype i = 0; i < kinds.size(); ++i)
        groups.append(seriesGroup(kinds.at(i), members.at(i)));
    return groups;
}

QString mixedCalibrationReason(const SeriesGroup &group)
{
    const bool dependencies = group.dependencies.size() > 1;
    const bool kcs = group.kcs.size() > 1;
    if (!dependencies && !kcs)
        return {};
    QStringList mixed;
    if (dependencies)
        mixed << QStringLiteral("зависимости (%1)").arg(valueList(group.dependencies));
    if (kcs)
        mixed << QStringLiteral("Kc (%1)").arg(valueList(group.kcs));
    return QStringLiteral("смешаны %1: прочность вычислена по разным градуировкам")
        .arg(mixed.join(QStringLiteral(" и ")));
}

QString mixedCalibrationWarning(const SeriesGroup &group)
{
    QString reason = mixedCalibrationReason(group);
    if (reason.isEmpty())
        return reason;
    reason[0] = reason.at(0).toUpper();
    return reason + u'.';
}

} // namespace luvir
