#pragma once
// The measurements of one node of the register window: the main table's seven columns with
// its texts, then Участок (edited in place) and Источник. Sorting uses each column's value
// (a number, the time), not its text.

#include "RegisterTypes.h"

#include <QAbstractTableModel>
#include <QHash>

#include <functional>

namespace luvir {

class RegisterMeasurementModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kSiteColumn = 7;
    static constexpr int kSourceColumn = 8;
    static constexpr int kSortRole = Qt::UserRole;

    explicit RegisterMeasurementModel(QObject *parent = nullptr);

    // The rows, numbered 1.. in the given (time) order; `sources` names each source id.
    void setMeasurements(
        const QList<RegisterMeasurement> &measurements, const QHash<RegisterId, QString> &sources);
    const QList<RegisterMeasurement> &measurements() const { return m_measurements; }
    // Called when the user edits a site; false leaves the old label shown.
    void setSiteWriter(std::function<bool(RegisterId, const QString &)> writer) { m_siteWriter = std::move(writer); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    QList<RegisterMeasurement> m_measurements;
    QList<QStringList> m_texts; // the table's seven texts of each row
    QHash<RegisterId, QString> m_sources;
    QString m_separator;
    std::function<bool(RegisterId, const QString &)> m_siteWriter;
};

} // namespace luvir
