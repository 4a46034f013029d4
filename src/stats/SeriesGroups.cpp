#include "SeriesGroups.h"

#include "CellText.h"

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

QString seriesGroupName(const Measurement &measurement, SeriesGrouping grouping)
{
    switch (grouping) {
    case SeriesGrouping::None:
        break;
    case SeriesGrouping::ElementKind:
        if (const QString kind = elementKindText(measurement.cell); !kind.isEmpty())
            return kind;
        return kNoKindGroup;
    }
    return kAllRowsGroup;
}

SeriesGroup seriesGroup(const QString &name, const QList<Measurement> &measurements, const QString &separator)
{
    SeriesGroup group;
    group.name = name;
    group.figures = seriesFigures(measurements, separator);
    for (const Measurement &m : measurements) {
        if (const QString dependency = dependencyText(m.cell); !group.dependencies.contains(dependency))
            group.dependencies << dependency;
        if (const QString kc = kcText(m.cell, separator); !group.kcs.contains(kc))
            group.kcs << kc;
    }
    return group;
}

QList<SeriesGroup> seriesGroups(
    const QList<Measurement> &measurements, SeriesGrouping grouping, const QString &separator)
{
    QList<SeriesGroup> groups {seriesGroup(kAllRowsGroup, measurements, separator)};
    if (grouping == SeriesGrouping::None)
        return groups;
    QStringList names;
    QList<QList<Measurement>> members;
    for (const Measurement &m : measurements) {
        const QString name = seriesGroupName(m, grouping);
        qsizetype at = names.indexOf(name);
        if (at < 0) {
            at = names.size();
            names << name;
            members.append(QList<Measurement>());
        }
        members[at].append(m);
    }
    for (qsizetype i = 0; i < names.size(); ++i)
        groups.append(seriesGroup(names.at(i), members.at(i), separator));
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
