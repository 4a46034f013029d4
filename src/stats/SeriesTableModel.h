#pragma once
// The statistics window's table: one row per group, the seven columns of SeriesColumnTitles.
// A group that mixes calibrations carries a warning icon by its name and says why in the
// tooltip of its row.

#include "SeriesGroups.h"

#include <QAbstractTableModel>

namespace luvir {

class SeriesTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit SeriesTableModel(QObject *parent = nullptr);

    void setGroups(const QList<SeriesGroup> &groups, const QString &separator);
    const QList<SeriesGroup> &groups() const { return m_groups; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<SeriesGroup> m_groups;
    QList<QStringList> m_fields; // the texts of each group, names unmarked
};

} // namespace luvir
