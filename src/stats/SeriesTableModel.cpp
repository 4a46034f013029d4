#include "SeriesTableModel.h"

#include "SeriesTable.h"

#include <QApplication>
#include <QStyle>

namespace luvir {

SeriesTableModel::SeriesTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void SeriesTableModel::setGroups(const QList<SeriesGroup> &groups, const QString &separator)
{
    beginResetModel();
    m_groups = groups;
    m_fields.clear();
    for (const SeriesGroup &group : m_groups)
        m_fields.append(seriesGroupFields(group, separator, false));
    endResetModel();
}

int SeriesTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_groups.size());
}

int SeriesTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(SeriesColumnTitles.size());
}

QVariant SeriesTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const SeriesGroup &group = m_groups.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return m_fields.at(index.row()).at(index.column());
    case Qt::DecorationRole:
        if (index.column() == 0 && group.mixesCalibrations())
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return {};
    case Qt::ToolTipRole:
        return group.mixesCalibrations() ? QVariant(mixedCalibrationWarning(group)) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter | (index.column() == 0 ? Qt::AlignLeft : Qt::AlignRight));
    default:
        return {};
    }
}

QVariant SeriesTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return SeriesColumnTitles.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace luvir
