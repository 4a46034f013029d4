#pragma once
// Draws one prepared page. The screen, the printer and the PDF all go through here, so
// they show the same page.

#include "PreparedReport.h"

class QPainter;
class QPaintDevice;

namespace luvir {

// Draws the page's frames and texts in report units on the painter's current
// coordinate system (the caller scales and places it); the paper itself is not drawn.
void paintReportPage(QPainter &painter, const PreparedPage &page);

// Scale from report units to the device's pixels: its resolution over 96.
double reportUnitScale(const QPaintDevice &device);

} // namespace luvir
