#pragma once
// The statistics as a table of texts: one line per group, seven fields, numbers with the
// given decimal separator. The window shows it, copies it and saves it; the command line
// prints it.

#include "SeriesGroups.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace luvir {

// The window's column titles: "Группа", "n", "Rmin", "Rmax", "Rm", "Sm", "Vm, %".
extern const QStringList SeriesColumnTitles;
// The title line the command line prints: the same, but "группа" and "Vm" (no unit).
extern const QStringList SeriesCommandLineTitles;

// Group, n, Rmin, Rmax, Rm, Sm, Vm. With `markMixed`, the name of a group that mixes
// calibrations ends in "!".
QStringList seriesGroupFields(const SeriesGroup &group, const QString &separator, bool markMixed);

// `titles`, then one line per group with its mixed groups marked.
QList<QStringList> seriesTableLines(
    const QList<SeriesGroup> &groups, const QString &separator, const QStringList &titles);

// The table as data, copied or saved by the window: the column titles and "Предупреждение",
// then one line per group with its name exactly and, for a group that mixes calibrations,
// the warning in that last column.
QList<QStringList> seriesDataLines(const QList<SeriesGroup> &groups, const QString &separator);

// Fields separated by tabs, lines ended by "\n", as spreadsheets paste them.
QString tabSeparated(const QList<QStringList> &lines);

} // namespace luvir
