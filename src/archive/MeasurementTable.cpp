#include "MeasurementTable.h"

#include "CellText.h"

#include <algorithm>

namespace luvir {

const QStringList MeasurementTableHeader = {
    QStringLiteral("№"),           QStringLiteral("Дата и время"), QStringLiteral("Вид изделия"),
    QStringLiteral("Направление"), QStringLiteral("Зависимость"),  QStringLiteral("Kc"),
    QStringLiteral("Прочность, МПа"),
};

QString MeasurementTable::text(int column, int row) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= rows.at(row).size())
        return {};
    return rows.at(row).at(column);
}

QStringList measurementRow(const ArchiveCell &cell, int number, const QString &separator)
{
    return {
        QString::number(number),
        dateTimeText(cell),
        elementKindText(cell),
        directionText(cell),
        dependencyText(cell),
        kcText(cell, separator),
        strengthText(cell, separator),
    };
}

MeasurementTable buildMeasurementTable(const CellArchive &archive, const QString &separator)
{
    MeasurementTable table;
    const int count = std::min<int>(archive.Count, CellArchive::Capacity);
    table.rows.reserve(count + 1);
    table.rows.append(MeasurementTableHeader);
    for (int i = 0; i < count; ++i)
        table.rows.append(measurementRow(archive.Cells[static_cast<std::size_t>(i)], i + 1, separator));
    return table;
}

void blankDataRows(MeasurementTable &table)
{
    for (int r = 1; r < table.rowCount(); ++r)
        table.rows[r] = QStringList(kTableColumns, QString());
}

int measurementColumnWidth(int tableWidth)
{
    return std::max(0, (tableWidth - 25) / kTableColumns);
}

bool deleteMeasurement(MeasurementTable &table, CellArchive &archive, int row)
{
    const int index = row - 1;
    if (row < 1 || row >= table.rowCount() || index >= archive.Count)
        return false;
    table.rows.removeAt(row);
    std::copy(archive.Cells.begin() + index + 1, archive.Cells.begin() + archive.Count,
              archive.Cells.begin() + index);
    --archive.Count;
    return true;
}

} // namespace luvir
