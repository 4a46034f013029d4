#pragma once
// The sites of the calibration window's set: each with H, the direct strength and its date,
// the meter's dependency, and what the computation made of it (q and whether it counts, or
// R by the dependency and whether it was culled; or why it is not computed). Sites that do
// not count are grey.

#include "CalibOutcome.h"

#include <QAbstractTableModel>

namespace luvir {

class CalibSiteModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit CalibSiteModel(const QString &separator, QObject *parent = nullptr);

    void setOutcome(const CalibOutcome &outcome);
    const CalibOutcome &outcome() const { return m_outcome; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // Whether row `row` takes part in the result: computed, counted, not culled.
    bool counts(int row) const;

    CalibOutcome m_outcome;
    QList<QStringList> m_rows;
    QStringList m_titles;
    QString m_separator;
};

} // namespace luvir
