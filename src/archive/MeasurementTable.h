#pragma once
// The measurement table as text: a header row and one row of seven texts per cell.
// The window shows it; the chart title, row deletion and the report read it.

#include "CellArchive.h"

#include <QList>
#include <QStringList>

namespace luvir {

inline constexpr int kTableColumns = 7;

// Column titles of row 0: "№", "Дата и время", … "Прочность, МПа".
extern const QStringList MeasurementTableHeader;

struct MeasurementTable {
    QList<QStringList> rows; // row 0 is the header; row r shows cell r - 1

    int rowCount() const { return static_cast<int>(rows.size()); }
    int dataRowCount() const { return rows.isEmpty() ? 0 : rowCount() - 1; }
    QString text(int column, int row) const;

    friend bool operator==(const MeasurementTable &, const MeasurementTable &) = default;
};

// The seven texts of one measurement row with the given number.
QStringList measurementRow(const ArchiveCell &cell, int number, const QString &separator);

// The whole table of the archive: the header, then rows 1 .. Count numbered 1 .. Count.
MeasurementTable buildMeasurementTable(const CellArchive &archive, const QString &separator);

// Empties the texts of every row but the header; the row count stays.
void blankDataRows(MeasurementTable &table);

// The common column width for a table of the given width: (width - 25) / 7, never negative.
int measurementColumnWidth(int tableWidth);

// Removes data row `row` (1 .. Count) and the cell it shows; later rows and cells move up
// by one, their numbers move with them. Returns false, changing nothing, for a row
// outside the table or without a cell.
bool deleteMeasurement(MeasurementTable &table, CellArchive &archive, int row);

} // namespace luvir
