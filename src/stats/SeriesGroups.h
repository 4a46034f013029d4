#pragma once
// The groups a series is summed up in: all its measurements, then one group for each value
// of a grouping key (today the element kind). A group that mixes dependencies or Kc values
// pools strengths the meter computed on different calibrations; it is marked so the user
// knows its figures are doubtful.

#include "Measurement.h"
#include "SeriesFigures.h"

#include <QStringList>

namespace luvir {

struct SeriesGroup {
    QString name;
    SeriesFigures figures;
    QStringList dependencies; // the distinct "Зависимость" texts, in order of first appearance
    QStringList kcs; // the distinct "Kc" texts, likewise

    bool mixesCalibrations() const { return dependencies.size() > 1 || kcs.size() > 1; }
};

inline const QString kAllRowsGroup = QStringLiteral("Все измерения");
inline const QString kNoKindGroup = QStringLiteral("без вида");

// What the groups after "Все измерения" are formed by.
enum class SeriesGrouping {
    None, // no more groups
    ElementKind, // one per "Вид изделия" text; measurements without one form "без вида"
};

// The name of the group `measurement` falls in under `grouping` ("Все измерения" for None).
QString seriesGroupName(const Measurement &measurement, SeriesGrouping grouping);

// The group of `measurements` under `name`; texts are written with `separator`.
SeriesGroup seriesGroup(
    const QString &name, const QList<Measurement> &measurements, const QString &separator);

// "Все измерения", then one group per name under `grouping`, in order of first appearance.
QList<SeriesGroup> seriesGroups(
    const QList<Measurement> &measurements, SeriesGrouping grouping, const QString &separator);

// Why a group's figures are doubtful, as one sentence without a final stop, e.g.
// "смешаны зависимости (БАЗОВАЯ; ИНДИВИД.<1>): прочность вычислена по разным градуировкам";
// empty for a group that mixes nothing.
QString mixedCalibrationReason(const SeriesGroup &group);
// The same as a sentence of its own, capitalised and ended by a stop: the window's tooltip
// and the warning column of the copied and saved table.
QString mixedCalibrationWarning(const SeriesGroup &group);

} // namespace luvir
