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
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTreeWidget>

#include <algorithm>

namespace luvir {

void RegisterWindow::listSelectedNode()
{
    QList<RegisterMeasurement> listed;
    QHash<RegisterId, QString> sources;
    if (m_register && Tree->currentItem()) {
        MeasurementSelection selection;
        selection.from = FromOn->isChecked() ? FromDate->date() : QDate();
        selection.to = ToOn->isChecked() ? ToDate->date() : QDate();
        selection.elementKind = KindFilter->currentData().toInt();
        QList<RegisterId> structureIds;
        switch (selectedKind()) {
        case NodeKind::Unassigned:
            selection.scope = MeasurementSelection::Scope::Unassigned;
            break;
        case NodeKind::Structure:
            selection.scope = MeasurementSelection::Scope::Structure;
            structureIds << selectedId();
            break;
        case NodeKind::Object:
            selection.scope = MeasurementSelection::Scope::Structure;
            for (const RegisterStructure &s : m_register->structures(selectedId()))
                structureIds << s.id;
            break;
        }
        if (selection.scope == MeasurementSelection::Scope::Unassigned) {
            listed = m_register->measurements(selection);
        } else {
            for (RegisterId id : structureIds) {
                selection.structureId = id;
                listed += m_register->measurements(selection);
            }
            std::stable_sort(listed.begin(), listed.end(), [](const auto &a, const auto &b) {
                return registersql::takenAt(a.cell) < registersql::takenAt(b.cell);
            });
        }
        for (const RegisterSource &source : m_register->sources())
            sources.insert(source.id, sourceText(source));
    }
    m_model->setMeasurements(listed, sources);
    m_sorted->sort(Table->horizontalHeader()->sortIndicatorSection(), Table->horizontalHeader()->sortIndicatorOrder());
    Table->resizeColumnsToContents();
    updateActions();
}

QList<RegisterMeasurement> RegisterWindow::listedMeasurements() const
{
    QList<RegisterMeasurement> listed;
    for (int row = 0; row < m_sorted->rowCount(); ++row)
        listed << m_model->measurements().at(m_sorted->mapToSource(m_sorted->index(row, 0)).row());
    return listed;
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

} // namespace luvir
