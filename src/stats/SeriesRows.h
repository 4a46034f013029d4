#pragma once
// The measurements a series is made of, taken from the table as it is shown (after
// deletions, like the report): the row's number and texts, and the stored strength.

#include "CellArchive.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace luvir {

struct MeasurementTable;

struct SeriesRow {
    int number = 0; // the "№" column
    QString kind; // "Вид изделия"
    QString dependency; // "Зависимость"
    QString kc; // "Kc"
    QString strengthText; // "Прочность, МПа", as the table shows it
    std::uint16_t strength = 0; // the stored strength, in tenths of MPa
};

// Every measurement row of `table` that shows one (blanked rows are left out); row r
// shows cell r - 1 of `archive`.
QList<SeriesRow> seriesRows(const MeasurementTable &table, const CellArchive &archive);

// The rows whose number lies in from..to (both included). After a deletion the numbers
// have gaps; the rows between them are still those of one stretch of the table.
QList<SeriesRow> rowsNumbered(const QList<SeriesRow> &rows, int from, int to);

} // namespace luvir
