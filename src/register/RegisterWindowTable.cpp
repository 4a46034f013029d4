// The register window's table: the measurements of the selected node, as filtered, read a
// page at a time as the table is scrolled, and which of them are selected.
#include "RegisterWindow.h"

#include "Register.h"
#include "RegisterMeasurementModel.h"
#include "RegisterQuery.h"
#include "WaitCursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

namespace luvir {

void RegisterWindow::listSelectedNode()
{
    if (m_writing) {
        m_refreshAfterWrite = true; // the rows stay as they are while a change is written
        return;
    }
    beginReads();
    int total = 0;
    RegisterMeasurementModel::PageReader reader;
    QHash<RegisterId, QString> sources;
    QList<RegisterId> structureIds;
    if (m_register && Tree->currentItem()) {
        MeasurementListing listing;
        MeasurementSelection &selection = listing.selection;
        selection.from = FromOn->isChecked() ? FromDate->date() : QDate();
        selection.to = ToOn->isChecked() ? ToDate->date() : QDate();
        selection.elementKind = KindFilter->currentData().toInt();
        // One node as it is; several: the structures of them all, in one time order.
        const QList<QTreeWidgetItem *> chosen = chosenItems();
        structureIds = chosenStructures();
        const bool unassigned = chosen.size() == 1
            && chosen.constFirst()->data(0, kKindRole).toInt() == static_cast<int>(NodeKind::Unassigned);
        selection.scope
            = unassigned ? MeasurementSelection::Scope::Unassigned : MeasurementSelection::Scope::Structure;
        if (!unassigned)
            listing.structureIds = structureIds;
        else
            structureIds.clear();
        total = m_register->measurementCount(listing);
        noteRead();
        // Each page starts after the last one read; a failure is told as any read's.
        auto after = std::make_shared<MeasurementKey>();
        reader = [this, listing, after](int limit) -> std::optional<QList<RegisterMeasurement>> {
            if (!m_register)
                return std::nullopt;
            beginReads();
            MeasurementPage page = m_register->measurementPage(listing, *after, limit);
            const bool ok = m_register->errorString().isEmpty();
            noteRead();
            endReads();
            if (!ok)
                return std::nullopt;
            *after = page.last;
            return page.measurements;
        };
        for (const RegisterSource &source : m_register->sources())
            sources.insert(source.id, sourceText(source));
        noteRead();
    }
    m_model->setListing(total, std::move(reader), sources, structureIds);
    // A list is shown from its first row: the table kept the place it had scrolled to in the
    // list before, so a node chosen after the end of a longer one opened at its own end. (A
    // refresh then returns to the rows the user had selected.)
    Table->scrollToTop();
    CountLabel->setText(m_register ? QStringLiteral("Измерений: %1").arg(m_model->total()) : QString());
    m_sorted->sort(
        Table->horizontalHeader()->sortIndicatorSection(), Table->horizontalHeader()->sortIndicatorOrder());
    Table->resizeColumnsToContents();
    updateActions();
    endReads();
}

bool RegisterWindow::readWholeList() const
{
    if (m_model->canFetchMore()) {
        const WaitCursor wait;
        m_model->fetchAll();
    }
    return m_model->isComplete();
}

QList<RegisterMeasurement> RegisterWindow::listedMeasurements() const
{
    // A list the register failed to give whole (told) is not acted on in part.
    if (!readWholeList())
        return {};
    QList<RegisterMeasurement> listed;
    for (int row = 0; row < m_sorted->rowCount(); ++row)
        listed << m_model->measurements().at(m_sorted->mapToSource(m_sorted->index(row, 0)).row());
    return listed;
}

QList<RegisterMeasurement> RegisterWindow::selectedMeasurementsAsShown() const
{
    QList<QModelIndex> rows = Table->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
        [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QList<RegisterMeasurement> selected;
    for (const QModelIndex &index : rows)
        selected << m_model->measurements().at(m_sorted->mapToSource(index).row());
    return selected;
}

QList<RegisterMeasurement> RegisterWindow::selectedMeasurements() const
{
    QList<int> rows;
    for (const QModelIndex &index : Table->selectionModel()->selectedRows())
        rows << m_sorted->mapToSource(index).row();
    std::sort(rows.begin(), rows.end()); // the listed (time) order
    QList<RegisterMeasurement> selected;
    for (int row : rows)
        selected << m_model->measurements().at(row);
    return selected;
}

void RegisterWindow::selectMeasurementsAgain(
    const QSet<RegisterId> &ids, RegisterId current, int column, int readBefore)
{
    if (ids.isEmpty() && current == 0)
        return;
    // Read on only as far as the rows sought are, and never past where the list was read.
    QSet<RegisterId> sought = ids;
    if (current != 0)
        sought.insert(current);
    for (const RegisterMeasurement &m : m_model->measurements())
        sought.remove(m.id);
    while (!sought.isEmpty() && m_model->rowCount() < readBefore && m_model->canFetchMore()) {
        const int from = m_model->rowCount();
        m_model->fetchMore();
        for (int row = from; row < m_model->rowCount(); ++row)
            sought.remove(m_model->measurements().at(row).id);
    }
    QList<int> rows; // of the table as sorted
    QModelIndex currentIndex;
    const QList<RegisterMeasurement> &listed = m_model->measurements();
    for (int row = 0; row < listed.size(); ++row) {
        const RegisterId id = listed.at(row).id;
        if (id != current && !ids.contains(id))
            continue;
        const QModelIndex index = m_sorted->mapFromSource(m_model->index(row, std::max(column, 0)));
        if (ids.contains(id))
            rows << index.row();
        if (id == current)
            currentIndex = index;
    }
    // Runs of neighbouring rows as one range each: a whole list selected is one range, not
    // one per row.
    std::sort(rows.begin(), rows.end());
    QItemSelection again;
    for (qsizetype first = 0; first < rows.size();) {
        qsizetype last = first;
        while (last + 1 < rows.size() && rows.at(last + 1) == rows.at(last) + 1)
            ++last;
        again.select(m_sorted->index(rows.at(first), 0), m_sorted->index(rows.at(last), 0));
        first = last + 1;
    }
    if (currentIndex.isValid())
        Table->selectionModel()->setCurrentIndex(currentIndex, QItemSelectionModel::NoUpdate);
    Table->selectionModel()->select(again, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void RegisterWindow::selectRows(const QList<int> &rows)
{
    // Rows not read yet are read first.
    const int last = rows.isEmpty() ? -1 : *std::max_element(rows.cbegin(), rows.cend());
    while (last >= m_sorted->rowCount() && m_sorted->canFetchMore({}))
        m_sorted->fetchMore({});
    Table->clearSelection();
    for (int row : rows)
        Table->selectionModel()->select(
            m_sorted->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

bool RegisterWindow::startSiteEdit(QKeyEvent *key)
{
    // A character typed on a row, or F2, edits the row's site, whatever column is current;
    // the view then opens the editor with the character in it (while an editor is open, keys
    // go to it, not here). Space still selects; keys with Ctrl or Alt are commands.
    const bool typed = !key->text().trimmed().isEmpty() && key->text().front().isPrint()
        && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const QModelIndex current = Table->currentIndex();
    if ((typed || key->key() == Qt::Key_F2) && current.isValid())
        Table->selectionModel()->setCurrentIndex(
            m_sorted->index(current.row(), RegisterMeasurementModel::kSiteColumn),
            QItemSelectionModel::NoUpdate);
    return false;
}

void RegisterWindow::moveToNextRow()
{
    const int next = Table->currentIndex().row() + 1;
    if (next >= m_sorted->rowCount() && m_sorted->canFetchMore({}))
        m_sorted->fetchMore({}); // the next row, when it is not read yet
    if (next < m_sorted->rowCount())
        Table->selectionModel()->setCurrentIndex(m_sorted->index(next, RegisterMeasurementModel::kSiteColumn),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

} // namespace luvir
