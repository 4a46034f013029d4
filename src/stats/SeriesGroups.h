#pragma once
// The groups a series is summed up in: all its rows, and one group per element kind.
// A group that mixes dependencies or Kc values pools strengths the meter computed on
// different calibrations; it is marked so the user knows its figures are doubtful.

#include "SeriesFigures.h"
#include "SeriesRows.h"

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

// The group of `rows` under `name`.
SeriesGroup seriesGroup(const QString &name, const QList<SeriesRow> &rows);

// "Все измерения", then with `byKind` one group per "Вид изделия" text in order of first
// appearance (rows without a kind text form "без вида").
QList<SeriesGroup> seriesGroups(const QList<SeriesRow> &rows, bool byKind);

// Why a group's figures are doubtful, as one sentence without a final stop, e.g.
// "смешаны зависимости (БАЗОВАЯ; ИНДИВИД.<1>): прочность вычислена по разным градуировкам";
// empty for a group that mixes nothing.
QString mixedCalibrationReason(const SeriesGroup &group);
// The same as a sentence of its own, capitalised and ended by a stop: the window's tooltip
// and the warning column of the copied and saved table.
QString mixedCalibrationWarning(const SeriesGroup &group);

} // namespace luvir
