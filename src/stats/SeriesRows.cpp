#include "SeriesRows.h"

#include "MeasurementTable.h"

#include <algorithm>

namespace luvir {

QList<SeriesRow> seriesRows(const MeasurementTable &table, const CellArchive &archive)
{
    QList<SeriesRow> rows;
    const int count = std::min<int>(table.dataRowCount(), archive.Count);
    rows.reserve(count);
    for (int r = 1; r <= count; ++r) {
        // A blanked row (the download dialog clears the rows while it runs) shows no
        // measurement, so it is none of the series.
        if (table.text(0, r).isEmpty())
            continue;
        SeriesRow row;
        row.number = table.text(0, r).toInt();
        row.kind = table.text(2, r);
        row.dependency = table.text(4, r);
        row.kc = table.text(5, r);
        row.strengthText = table.text(6, r);
        row.strength = archive.Cells[static_cast<std::size_t>(r - 1)].strengthWord();
        rows.append(row);
    }
    return rows;
}

QList<SeriesRow> rowsNumbered(const QList<SeriesRow> &rows, int from, int to)
{
    QList<SeriesRow> chosen;
    for (const SeriesRow &row : rows)
        if (row.number >= from && row.number <= to)
            chosen.append(row);
    return chosen;
}

} // namespace luvir
