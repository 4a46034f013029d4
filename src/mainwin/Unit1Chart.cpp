// The main window's chart commands.
#include "Unit1.h"

#include "Forms.h"
#include "MeasurementTableModel.h"
#include "Unit5.h"

void TForm1::ShowIntermediateChart()
{
    const int row = currentRow();
    if (!Form5 || row < 1 || row > m_session.archive.Count)
        return; // no measurement row: there is no cell to chart
    Form5->ShowIntermediateChart(m_session.archive.Cells[static_cast<std::size_t>(row - 1)], row,
                                 m_model->table().text(1, row));
}

void TForm1::MeasurementsChartClick()
{
    if (Form5)
        Form5->ShowMeasurementsChart(m_model->table(), m_session.archive);
}
