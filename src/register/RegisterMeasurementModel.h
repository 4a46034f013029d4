#pragma once
// The measurements of one node of the register window: the main table's seven columns with
// its texts, then Участок (edited in place), Источник, and the strength by the calibration
// dependency of the measurement's structure (empty without one; in brackets, with a tooltip
// saying why, when H lies outside the dependency's range). Rows are sorted from the
// measurement records, never from the texts shown: numbers as numbers, the time and № in
// the time order they were listed in, labels and names in natural order (2, 2а, 10).
// A long list is read a page at a time as the view is scrolled (canFetchMore, fetchMore);
// what needs the whole list reads the rest first (fetchAll).

#include "AppliedDependency.h"
#include "RegisterTypes.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSortFilterProxyModel>

#include <algorithm>
#include <functional>
#include <optional>

namespace luvir {

class RegisterMeasurementModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kSiteColumn = 7;
    static constexpr int kSourceColumn = 8;
    static constexpr int kDependencyColumn = 9;

    // Rows read at a time: a few screens.
    static constexpr int kPageSize = 250;

    explicit RegisterMeasurementModel(QObject *parent = nullptr);

    // Reads the rows after those read so far, at most `limit`, in time order; nullopt when the
    // register fails (the reader tells the user).
    using PageReader = std::function<std::optional<QList<RegisterMeasurement>>(int limit)>;
    // The rows of a listing of `total` measurements, numbered 1.. in time order, read by
    // `reader`: the first page now, the others when the view asks for them or fetchAll() is
    // called. `sources` names each source id; `structures` are the structures listed (their
    // dependencies are read once, here).
    void setListing(int total, PageReader reader, const QHash<RegisterId, QString> &sources,
        const QList<RegisterId> &structures);
    // The rows read so far, in time order.
    const QList<RegisterMeasurement> &measurements() const { return m_measurements; }
    // How many the listing holds, read or not.
    int total() const { return std::max(m_total, static_cast<int>(m_measurements.size())); }
    // Reads every row not read yet; false when the register failed on the way.
    bool fetchAll();
    // Every row of the listing is read: none is left, and no page failed.
    bool isComplete() const { return m_atEnd && !m_failed; }
    bool canFetchMore(const QModelIndex &parent = {}) const override;
    void fetchMore(const QModelIndex &parent = {}) override;
    // Called when the user edits a site with the measurement as listed; false leaves the old
    // label shown. Once it is written the row holds the new label and the revision it made.
    using SiteWriter = std::function<bool(const RegisterMeasurement &, const QString &)>;
    void setSiteWriter(SiteWriter writer) { m_siteWriter = std::move(writer); }

    // Reads the calibration dependencies of the structures that have one, by structure; called
    // once whenever a listing of structures is set.
    using DependencyReader = std::function<QHash<RegisterId, AppliedDependency>()>;
    void setDependencyReader(DependencyReader reader) { m_dependencyReader = std::move(reader); }
    // Whether a row's structure has a dependency: the column shows something.
    bool hasDependencies() const { return !m_dependencies.isEmpty(); }

    // Negative, zero or positive as row `left` sorts before, with or after row `right` by
    // `column`; rows equal there keep their listed order.
    int compareRows(int left, int right, int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    // The table's seven texts of `row`, made the first time they are asked for: a list of
    // 100,000 shows a screenful.
    const QStringList &texts(int row) const;
    // The strength by the dependency column: the text, its tooltip.
    QVariant dependencyData(int row, int role) const;
    // Reads up to `limit` rows more and appends them; false when the register failed.
    bool fetchPage(int limit);

    QList<RegisterMeasurement> m_measurements;
    mutable QList<QStringList> m_texts; // the texts of each row, empty until made
    QHash<RegisterId, QString> m_sources;
    QString m_separator;
    SiteWriter m_siteWriter;
    DependencyReader m_dependencyReader;
    QHash<RegisterId, AppliedDependency> m_dependencies; // by structure
    QList<std::optional<DependencyStrength>> m_byDependency; // per row; none without one
    PageReader m_reader;
    int m_total = 0;
    bool m_atEnd = true; // no more is read (every row is, or the register failed)
    bool m_failed = false; // a page could not be read: the rows are not the whole listing
};

// The register window's sorted view of a RegisterMeasurementModel: its rows in the order
// compareRows gives.
class RegisterMeasurementSorter : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;
};

} // namespace luvir
