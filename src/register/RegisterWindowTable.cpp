// The register window's table: the measurements of the selected node, as filtered, and
// which of them are selected.
#include "RegisterWindow.h"

#include "Register.h"
#include "RegisterMeasurementModel.h"
#include "RegisterQuery.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTreeWidget>

#include <algorithm>

namespace luvir {

void RegisterWindow::listSelectedNode()
{
    if (m_writing) {
        m_refreshAfterWrite = true; // the rows stay as they are while a change is written
        return;
    }
    beginReads();
    QList<RegisterMeasurement> listed;
    QHash<RegisterId, QString> sources;
    if (m_register && Tree->currentItem()) {
        MeasurementSelection selection;
        selection.from = FromOn->isChecked() ? FromDate->date() : QDate();
        selection.to = ToOn->isChecked() ? ToDate->date() : QDate();
        selection.elementKind = KindFilter->currentData().toInt();
        // One node as it is; several: the structures of them all.
        const QList<QTreeWidgetItem *> chosen = chosenItems();
        const QList<RegisterId> structureIds = chosenStructures();
        const bool unassigned = chosen.size() == 1
            && chosen.constFirst()->data(0, kKindRole).toInt() == static_cast<int>(NodeKind::Unassigned);
        selection.scope
            = unassigned ? MeasurementSelection::Scope::Unassigned : MeasurementSelection::Scope::Structure;
        if (selection.scope == MeasurementSelection::Scope::Unassigned) {
            listed = m_register->measurements(selection);
            noteRead();
        } else {
            for (RegisterId id : structureIds) {
                selection.structureId = id;
                listed += m_register->measurements(selection);
                noteRead();
            }
            std::stable_sort(listed.begin(), listed.end(), [](const auto &a, const auto &b) {
                return registersql::takenAt(a.cell) < registersql::takenAt(b.cell);
            });
        }
        for (const RegisterSource &source : m_register->sources())
            sources.insert(source.id, sourceText(source));
        noteRead();
    }
    m_model->setMeasurements(listed, sources);
    m_sorted->sort(
        Table->horizontalHeader()->sortIndicatorSection(), Table->horizontalHeader()->sortIndicatorOrder());
    Table->resizeColumnsToContents();
    updateActions();
    endReads();
}

QList<RegisterMeasurement> RegisterWindow::listedMeasurements() const
{
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

void RegisterWindow::selectRows(const QList<int> &rows)
{
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
    if (next < m_sorted->rowCount())
        Table->selectionModel()->setCurrentIndex(m_sorted->index(next, RegisterMeasurementModel::kSiteColumn),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

} // namespace luvir
