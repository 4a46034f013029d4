#pragma once
// Shows a luvir::MeasurementTable in a Qt view: row 0 of the table is the view's header,
// table row r is view row r - 1.

#include "MeasurementTable.h"

#include <QAbstractTableModel>

namespace luvir {

class MeasurementTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    const MeasurementTable &table() const { return m_table; }
    // Replaces the whole table.
    void setTable(MeasurementTable table);
    // Empties every data row's texts, keeping the row count.
    void blankRows();
    // Removes table row `row` (1-based, header excluded), its measurement and its cell; see
    // deleteMeasurement.
    bool deleteRow(int row, CellArchive &archive);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    MeasurementTable m_table;
};

} // namespace luvir
