// The main window's table: rebuilding it from the archive, column widths, selection,
// row deletion, and opening the charts of a row.
#include "Unit1.h"

#include "CellText.h"
#include "MeasurementTableModel.h"
#include "StatusPanels.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

void TForm1::DisplayArchive()
{
    setStatus(QStringLiteral("Отображаю"));
    m_quietSelection = true; // a rebuild is no selection: panels 1 and 2 keep their texts
    const int previousRow = currentRow();
    m_model->setTable(luvir::buildMeasurementTable(m_session.archive, luvir::systemDecimalSeparator()));
    EnableArchiveCommands();
    FormResize();
    StringGrid1->show();
    // The current row stays where it was, within the new row count; the first table
    // starts on row 1.
    if (const int rows = m_model->rowCount(); rows > 0)
        selectRow(std::clamp(previousRow, 1, rows));
    m_quietSelection = false;
    // The keyboard works on the new table at once: the arrows move its current row, Enter
    // opens that row's chart. After a download the focus comes here as the dialog closes.
    StringGrid1->setFocus();
    closeDownloadDialog();
}

void TForm1::blankTableRows()
{
    m_model->blankRows();
}

void TForm1::FormResize()
{
    if (!StringGrid1)
        return;
    StringGrid1->horizontalHeader()->setDefaultSectionSize(luvir::measurementColumnWidth(StringGrid1->width()));
}

int TForm1::currentRow() const
{
    const QModelIndex current = StringGrid1->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void TForm1::selectRow(int row)
{
    const QModelIndex index = m_model->index(row - 1, std::max(0, StringGrid1->currentIndex().column()));
    StringGrid1->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TForm1::StringGrid1SelectCell(int /*column*/, int row)
{
    const QList<luvir::Measurement> &measurements = m_model->table().measurements;
    if (row < 1 || row > measurements.size())
        return; // no measurement behind this row
    StatusBar1->setPanelText(1, QString());
    StatusBar1->setPanelText(
        1, luvir::intermediateValuesLine(measurements.at(row - 1).cell, luvir::systemDecimalSeparator()));
    StatusBar1->setPanelText(2, QStringLiteral("График - двойной клик по строке"));
}

void TForm1::ToolButton8Click()
{
    const int rows = m_model->table().dataRowCount();
    const int row = currentRow();
    if (rows == 0 || row < 1)
        return;
    const bool wasLast = row == rows;

    m_quietSelection = true;
    const bool deleted = m_model->deleteRow(row, m_session.archive);
    const int current = wasLast ? row - 1 : row; // the same position, or the new last row
    if (deleted && current >= 1)
        selectRow(current);
    m_quietSelection = false;

    // Only when the last row went does the selection move, and count as a new selection;
    // otherwise the status bar keeps the deleted row's values until the user selects.
    if (deleted && wasLast && current >= 1)
        StringGrid1SelectCell(StringGrid1->currentIndex().column(), current);
}

void TForm1::StringGrid1DblClick()
{
    ShowIntermediateChart();
}

void TForm1::StringGrid1KeyDown(int key, Qt::KeyboardModifiers /*shift*/)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        ShowIntermediateChart();
}
