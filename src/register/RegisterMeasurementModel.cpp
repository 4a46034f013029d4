#include "RegisterMeasurementModel.h"

#include "AppliedDependencyText.h"
#include "CalibText.h"
#include "CellText.h"
#include "MeasurementTable.h"
#include "NaturalOrder.h"
#include "RegisterCalibration.h"

#include "WaitCursor.h"

#include <QSet>

namespace luvir {

RegisterMeasurementModel::RegisterMeasurementModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_separator(systemDecimalSeparator())
{
}

void RegisterMeasurementModel::setListing(int total, PageReader reader,
    const QHash<RegisterId, QString> &sources, const QList<RegisterId> &structures)
{
    beginResetModel();
    m_measurements.clear();
    m_texts.clear(); // made when a row is first shown or sorted by its names
    m_byDependency.clear();
    m_sources = sources;
    m_reader = std::move(reader);
    m_total = std::max(total, 0);
    m_atEnd = !m_reader || m_total == 0;
    m_failed = false;
    m_dependencies.clear();
    if (m_dependencyReader && !structures.isEmpty() && m_total > 0) {
        m_dependencies = m_dependencyReader(); // those of the listed structures are kept
        const QSet<RegisterId> listed(structures.cbegin(), structures.cend());
        m_dependencies.removeIf([&](const auto &entry) { return !listed.contains(entry.key()); });
    }
    endResetModel();
    fetchMore(); // the first page
}

bool RegisterMeasurementModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_atEnd;
}

void RegisterMeasurementModel::fetchMore(const QModelIndex &parent)
{
    if (canFetchMore(parent))
        fetchPage(kPageSize);
}

bool RegisterMeasurementModel::fetchAll()
{
    // The rest in one read, as many as the count said; more when more came meanwhile.
    while (canFetchMore())
        if (!fetchPage(std::max(kPageSize, m_total - static_cast<int>(m_measurements.size()))))
            return false;
    return isComplete();
}

bool RegisterMeasurementModel::fetchPage(int limit)
{
    const std::optional<QList<RegisterMeasurement>> page = m_reader(limit);
    if (!page) {
        m_atEnd = true; // not asked again until the list is read anew
        m_failed = true;
        return false;
    }
    const int first = static_cast<int>(m_measurements.size());
    if (!page->isEmpty()) {
        beginInsertRows({}, first, first + static_cast<int>(page->size()) - 1);
        m_measurements += *page;
        m_texts.resize(m_measurements.size());
        for (const RegisterMeasurement &m : *page) {
            const auto dependency = m_dependencies.constFind(m.structureId);
            m_byDependency << (dependency == m_dependencies.cend()
                    ? std::nullopt
                    : std::optional<DependencyStrength>(strengthByDependency(*dependency, m.cell)));
        }
        endInsertRows();
    }
    m_atEnd = page->size() < limit || m_measurements.size() >= m_total;
    return true;
}

const QStringList &RegisterMeasurementModel::texts(int row) const
{
    QStringList &texts = m_texts[row];
    if (texts.isEmpty())
        texts = measurementRow(m_measurements.at(row).cell, row + 1, m_separator);
    return texts;
}

int RegisterMeasurementModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_measurements.size());
}

int RegisterMeasurementModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kTableColumns + 3;
}

namespace {

int sign(long long difference)
{
    return difference < 0 ? -1 : difference > 0 ? 1 : 0;
}

} // namespace

int RegisterMeasurementModel::compareRows(int left, int right, int column) const
{
    const RegisterMeasurement &a = m_measurements.at(left);
    const RegisterMeasurement &b = m_measurements.at(right);
    int order = 0;
    switch (column) {
    case 2: // the element kind, direction and dependency by their names
    case 3:
    case 4:
        order = naturalCompare(texts(left).at(column), texts(right).at(column));
        break;
    case 5:
        order = sign(a.cell.byte(ArchiveCell::Kc) - b.cell.byte(ArchiveCell::Kc));
        break;
    case 6:
        order = sign(a.cell.strengthWord() - b.cell.strengthWord());
        break;
    case kSiteColumn:
        order = naturalCompare(a.site, b.site);
        break;
    case kSourceColumn:
        order = naturalCompare(m_sources.value(a.firstSourceId), m_sources.value(b.firstSourceId));
        break;
    case kDependencyColumn: { // rows without a strength by a dependency first
        const std::optional<DependencyStrength> &x = m_byDependency.at(left);
        const std::optional<DependencyStrength> &y = m_byDependency.at(right);
        if (x && y)
            order = x->strength < y->strength ? -1 : (y->strength < x->strength ? 1 : 0);
        else
            order = sign(int(x.has_value()) - int(y.has_value()));
        break;
    }
    default: // № and the time: the time order they were listed in
        break;
    }
    return order != 0 ? order : sign(left - right);
}

QVariant RegisterMeasurementModel::dependencyData(int row, int role) const
{
    const RegisterMeasurement &m = m_measurements.at(row);
    const auto dependency = m_dependencies.constFind(m.structureId);
    if (dependency == m_dependencies.cend())
        return {};
    const std::optional<DependencyStrength> &strength = m_byDependency.at(row);
    if (role == Qt::DisplayRole)
        return strength ? dependencyStrengthText(*strength, m_separator) : QString();
    if (role != Qt::ToolTipRole)
        return {};
    const QString title = appliedDependencyTitle(*dependency, m_separator);
    double h = 0;
    QString why;
    if (!strength || !indirectValueOf(m.cell, h, why))
        return QStringLiteral("%1: прочность не определяется (%2)").arg(title, why);
    if (strength->withinRange)
        return QStringLiteral("По зависимости: %1").arg(title);
    return QStringLiteral("H = %1 МПа вне диапазона зависимости %2…%3 МПа: значение только для сведения (%4)")
        .arg(calibNumber(h, 2, m_separator), calibNumber(dependency->hMin, 2, m_separator),
            calibNumber(dependency->hMax, 2, m_separator), title);
}

QVariant RegisterMeasurementModel::data(const QModelIndex &index, int role) const
{
    if (index.isValid() && index.column() == kDependencyColumn)
        return dependencyData(index.row(), role);
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const RegisterMeasurement &m = m_measurements.at(index.row());
    const int column = index.column();
    if (column < kTableColumns)
        return texts(index.row()).at(column);
    if (column == kSiteColumn)
        return m.site;
    return m_sources.value(m.firstSourceId);
}

QVariant RegisterMeasurementModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < kTableColumns)
        return MeasurementTableHeader.at(section);
    if (section == kDependencyColumn)
        return QStringLiteral("По градуировке, МПа");
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
    if (site == m.site || !m_siteWriter(m, site))
        return false;
    m.site = site;
    ++m.revision; // the one change just written
    emit dataChanged(index, index);
    return true;
}

void RegisterMeasurementSorter::sort(int column, Qt::SortOrder order)
{
    // By № or the time, first to last, is the order the rows were listed in: nothing to sort,
    // and the rows are read as they are scrolled to. Any other order needs them all.
    auto *model = qobject_cast<RegisterMeasurementModel *>(sourceModel());
    const bool listedOrder = order == Qt::AscendingOrder && (column == 0 || column == 1) && model;
    if (model && !listedOrder && column >= 0 && model->canFetchMore()) {
        const WaitCursor wait;
        model->fetchAll();
    }
    QSortFilterProxyModel::sort(listedOrder ? -1 : column, order);
}

bool RegisterMeasurementSorter::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const auto *model = qobject_cast<const RegisterMeasurementModel *>(sourceModel());
    if (!model)
        return QSortFilterProxyModel::lessThan(left, right);
    return model->compareRows(left.row(), right.row(), left.column()) < 0;
}

} // namespace luvir
