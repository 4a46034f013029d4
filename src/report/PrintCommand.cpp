#include "PrintCommand.h"

#include "MeasurementReport.h"
#include "ReportPreview.h"
#include "WaitCursor.h"

namespace luvir {

void runPrintCommand(QWidget *parent, const MeasurementTable &table, const QDateTime &now)
{
    PreparedReport prepared;
    {
        const WaitCursor wait;
        prepared = prepareMeasurementReport(table, now);
    }
    ReportPreview preview(std::move(prepared), parent);
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    preview.exec();
}

} // namespace luvir
