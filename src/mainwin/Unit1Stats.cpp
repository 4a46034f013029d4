// The main window's statistics command.
#include "Unit1.h"

#include "CellText.h"
#include "MeasurementTableModel.h"
#include "StatsWindow.h"

void TForm1::StatisticsClick()
{
    luvir::StatsWindow window(
        luvir::shownMeasurements(m_model->table()), luvir::systemDecimalSeparator(), this);
    window.exec();
}
