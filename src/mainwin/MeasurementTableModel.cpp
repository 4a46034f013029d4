#include "MeasurementTableModel.h"

namespace luvir {

void MeasurementTableModel::setTable(MeasurementTable table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

void MeasurementTableModel::blankRows()
{
    blankDataRows(m_table);
    if (m_table.dataRowCount() > 0)
        emit dataChanged(index(0, 0), index(m_table.dataRowCount() - 1, kTableColumns - 1));
}

bool MeasurementTableModel::deleteRow(int row, CellArchive &archive)
{
    if (row < 1 || row > m_table.dataRowCount() || row > archive.Count)
        return false;
    beginRemoveRows({}, row - 1, row - 1);
    deleteMeasurement(m_table, archive, row);
    endRemoveRows();
    return true;
}

int MeasurementTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table.dataRowCount();
}

int MeasurementTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kTableColumns;
}

QVariant MeasurementTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return m_table.text(index.column(), index.row() + 1);
}

QVariant MeasurementTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return m_table.rowCount() > 0 ? m_table.text(section, 0) : MeasurementTableHeader.value(section);
}

} // namespace luvir
