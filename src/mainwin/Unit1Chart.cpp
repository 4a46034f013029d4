// The main window's chart commands.
#include "Unit1.h"

#include "MeasurementTableModel.h"
#include "Unit5.h"

void TForm1::ShowIntermediateChart()
{
    Q_ASSERT(m_chartWindow);
    const luvir::MeasurementTable &table = m_model->table();
    const int row = currentRow();
    if (row < 1 || row > table.measurements.size())
        return; // no measurement row: there is no cell to chart
    m_chartWindow->ShowIntermediateChart(table.measurements.at(row - 1).cell, row, table.text(1, row));
}

void TForm1::MeasurementsChartClick()
{
    Q_ASSERT(m_chartWindow);
    m_chartWindow->ShowMeasurementsChart(m_model->table().measurements);
}
