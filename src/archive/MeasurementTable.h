#pragma once
// The measurement table: the measurements of the open archive as they are shown, and a
// header row and one row of seven texts for each. The window shows the texts and the report
// prints them; the statistics and the charts take the measurements themselves.

#include "CellArchive.h"
#include "Measurement.h"

#include <QList>
#include <QStringList>

namespace luvir {

inline constexpr int kTableColumns = 7;

// Column titles of row 0: "№", "Дата и время", … "Прочность, МПа".
extern const QStringList MeasurementTableHeader;

struct MeasurementTable {
    QList<QStringList> rows; // row 0 is the header; row r shows measurements[r - 1]
    QList<Measurement> measurements; // what the data rows show (none in a table of texts alone)
    bool blank = false; // the data rows' texts are emptied for a while; their measurements stay

    int rowCount() const { return static_cast<int>(rows.size()); }
    int dataRowCount() const { return rows.isEmpty() ? 0 : rowCount() - 1; }
    QString text(int column, int row) const;

    friend bool operator==(const MeasurementTable &, const MeasurementTable &) = default;
};

// The seven texts of one measurement row with the given number.
QStringList measurementRow(const ArchiveCell &cell, int number, const QString &separator);

// The table of `measurements`: the header, then one row for each, in their order.
MeasurementTable buildMeasurementTable(const QList<Measurement> &measurements, const QString &separator);
// The whole table of the archive: the header, then rows 1 .. Count numbered 1 .. Count.
MeasurementTable buildMeasurementTable(const CellArchive &archive, const QString &separator);

// Empties the texts of every row but the header; the row count and the measurements stay.
void blankDataRows(MeasurementTable &table);

// The measurements the table shows, for the statistics: all of them, or none while its rows
// are blank.
QList<Measurement> shownMeasurements(const MeasurementTable &table);

// The common column width for a table of the given width: (width - 25) / 7, never negative.
int measurementColumnWidth(int tableWidth);

// Removes data row `row` (1 .. Count), its measurement and the cell of `archive` at the
// same place; later rows, measurements and cells move up by one, keeping their numbers.
// Returns false, changing nothing, for a row outside the table or without a cell.
bool deleteMeasurement(MeasurementTable &table, CellArchive &archive, int row);

} // namespace luvir
