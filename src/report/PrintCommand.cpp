#include "PrintCommand.h"

#include "MeasurementReport.h"
#include "ReportPreview.h"

#include <QApplication>

namespace luvir {

void runPrintCommand(QWidget *parent, const MeasurementTable &table, const QDateTime &now)
{
    PreparedReport prepared;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        prepared = prepareMeasurementReport(table, now);
        QApplication::restoreOverrideCursor();
    }
    ReportPreview preview(std::move(prepared), parent);
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    preview.exec();
}

} // namespace luvir
