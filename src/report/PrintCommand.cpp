#include "PrintCommand.h"

#include "MeasurementReport.h"
#include "ReportPreview.h"

namespace luvir {

void runPrintCommand(QWidget *parent, const MeasurementTable &table, const QDateTime &now)
{
    ReportPreview preview(measurementReportLayout(table, now), measurementReportTemplate().pageLayout(), parent);
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    preview.exec();
}

} // namespace luvir
