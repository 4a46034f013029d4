// The main window's print command.
#include "Unit1.h"

#include "MeasurementTableModel.h"
#include "PrintCommand.h"

#include <QDateTime>

void TForm1::ToolButton6Click()
{
    luvir::runPrintCommand(this, m_model->table(), QDateTime::currentDateTime());
}
