#include "RegisterMeasurementModel.h"

#include "CellText.h"
#include "MeasurementTable.h"

namespace luvir {

RegisterMeasurementModel::RegisterMeasurementModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_separator(systemDecimalSeparator())
{
}

void RegisterMeasurementModel::setMeasurements(
    const QList<RegisterMeasurement> &measurements, const QHash<RegisterId, QString> &sources)
{
    beginResetModel();
    m_measurements = measurements;
    m_sources = sources;
    m_texts.clear();
    m_texts.reserve(measurements.size());
    int number = 0;
    for (const RegisterMeasurement &m : measurements)
        m_texts << measurementRow(m.cell, ++number, m_separator);
    endResetModel();
}

int RegisterMeasurementModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_measurements.size());
}

int RegisterMeasurementModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kTableColumns + 2;
}

QVariant RegisterMeasurementModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const RegisterMeasurement &m = m_measurements.at(index.row());
    const int column = index.column();
    QString text;
    if (column < kTableColumns)
        text = m_texts.at(index.row()).at(column);
    else if (column == kSiteColumn)
        text = m.site;
    else
        text = m_sources.value(m.firstSourceId);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text;
    case kSortRole: {
        if (column == 0 || column == 1) // № and the time: the time order they were listed in
            return index.row();
        bool number = false;
        const double value = QString(text).replace(m_separator, QStringLiteral(".")).toDouble(&number);
        return number ? QVariant(value) : QVariant(text);
    }
    default:
        return {};
    }
}

QVariant RegisterMeasurementModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < kTableColumns)
        return MeasurementTableHeader.at(section);
    return section == kSiteColumn ? QStringLiteral("Участок") : QStringLiteral("Источник");
}

Qt::ItemFlags RegisterMeasurementModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == kSiteColumn && m_siteWriter)
        f |= Qt::ItemIsEditable;
    return f;
}

bool RegisterMeasurementModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || index.column() != kSiteColumn || !m_siteWriter)
        return false;
    RegisterMeasurement &m = m_measurements[index.row()];
    const QString site = value.toString().trimmed();
    if (site == m.site || !m_siteWriter(m.id, site))
        return false;
    m.site = site;
    emit dataChanged(index, index);
    return true;
}

} // namespace luvir
