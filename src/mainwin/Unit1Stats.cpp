// The main window's statistics command.
#include "Unit1.h"

#include "CellText.h"
#include "MeasurementTableModel.h"
#include "StatsWindow.h"

void TForm1::StatisticsClick()
{
    luvir::StatsWindow window(
        luvir::seriesRows(m_model->table(), m_session.archive), luvir::systemDecimalSeparator(), this);
    window.exec();
}
