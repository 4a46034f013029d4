#include "CalibSiteModel.h"

#include <QBrush>
#include <QPalette>

namespace luvir {

CalibSiteModel::CalibSiteModel(const QString &separator, QObject *parent)
    : QAbstractTableModel(parent)
    , m_titles(calibColumnTitles(DependencyKind::Own))
    , m_separator(separator)
{
}

void CalibSiteModel::setOutcome(const CalibOutcome &outcome)
{
    beginResetModel();
    m_outcome = outcome;
    m_titles = calibColumnTitles(outcome.kind);
    m_rows = calibSiteRows(outcome, m_separator);
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, CalibColumnCount - 1);
}

int CalibSiteModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CalibSiteModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : CalibColumnCount;
}

bool CalibSiteModel::counts(int row) const
{
    const qsizetype place = m_outcome.used.indexOf(row);
    if (place < 0)
        return false;
    if (!m_outcome.computed())
        return true;
    return m_outcome.kind == DependencyKind::Own
        ? m_outcome.fit.cullRound.value(place) == 0
        : m_outcome.factor.sites.value(place).standing == RatioStanding::Counted;
}

QVariant CalibSiteModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const QString &text = m_rows.at(index.row()).value(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return text;
    case Qt::ToolTipRole:
        return index.column() == SiteStanding && !text.isEmpty() ? QVariant(text) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == SiteIndirect || index.column() == SiteDirect || index.column() == SiteFigure
            ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
            : QVariant();
    case Qt::ForegroundRole:
        return counts(index.row()) ? QVariant()
                                   : QVariant(QBrush(QPalette().color(QPalette::Disabled, QPalette::Text)));
    default:
        return {};
    }
}

QVariant CalibSiteModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The longer titles on two lines, so the table fits the window without scrolling sideways.
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QString(m_titles.value(section))
            .replace(QStringLiteral(", "), QStringLiteral(",\n"))
            .replace(QStringLiteral("Дата испытания"), QStringLiteral("Дата\nиспытания"))
            .replace(QStringLiteral("Зависимость прибора"), QStringLiteral("Зависимость\nприбора"));
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace luvir
