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

MeasurementTable buildMeasurementTable(const QList<Measurement> &measurements, const QString &separator)
{
    MeasurementTable table;
    table.measurements = measurements;
    table.rows.reserve(measurements.size() + 1);
    table.rows.append(MeasurementTableHeader);
    for (const Measurement &m : measurements)
        table.rows.append(measurementRow(m.cell, m.number, separator));
    return table;
}

MeasurementTable buildMeasurementTable(const CellArchive &archive, const QString &separator)
{
    return buildMeasurementTable(measurementsOf(archive), separator);
}

void blankDataRows(MeasurementTable &table)
{
    for (int r = 1; r < table.rowCount(); ++r)
        table.rows[r] = QStringList(kTableColumns, QString());
    table.blank = true;
}

QList<Measurement> shownMeasurements(const MeasurementTable &table)
{
    return table.blank ? QList<Measurement>() : table.measurements;
}

int measurementColumnWidth(int tableWidth)
{
    return std::max(0, (tableWidth - 25) / kTableColumns);
}

bool deleteMeasurement(MeasurementTable &table, CellArchive &archive, int row)
{
    const int index = row - 1;
    if (row < 1 || row >= table.rowCount() || index >= table.measurements.size() || index >= archive.Count)
        return false;
    table.rows.removeAt(row);
    table.measurements.removeAt(index);
    std::copy(archive.Cells.begin() + index + 1, archive.Cells.begin() + archive.Count,
              archive.Cells.begin() + index);
    --archive.Count;
    return true;
}

} // namespace luvir
