#pragma once
// The print command: the measurement table as a report in the modal preview.

#include "MeasurementTable.h"

#include <QDateTime>

class QWidget;

namespace luvir {

// Sets the report's title (model name, `now` as date and time) and its row count, lays
// out the table exactly as given on the template's page and shows the preview maximised
// at 100 %; returns when the preview is closed.
void runPrintCommand(QWidget *parent, const MeasurementTable &table, const QDateTime &now);

} // namespace luvir
