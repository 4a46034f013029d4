#pragma once
// Printing a chart: laid out anew for the printed area, so its texts keep their shape
// whether the page is portrait or landscape.

#include "ChartContent.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <functional>

QT_BEGIN_NAMESPACE
class QGraphicsScene;
class QPrinter;
QT_END_NAMESPACE

namespace luvir {

struct ChartPrintLayout {
    double marginPercent = 0.0; // of the page width (left, right) and height (top, bottom)
    bool proportional = true;   // keep the on-screen width-to-height ratio
};

// Where the chart goes on a page of `page` (device units): the page less the margins,
// and, when proportional, the largest area of the screen's ratio centred in it.
QRectF chartPrintArea(const QRectF &page, const ChartPrintLayout &layout, const QSizeF &screenSize);

// Prints `content` on `printer` (already set up) as one page; a print to a PDF file is
// written whole or not at all. On failure returns false and puts the reason in `error`.
bool printChart(QPrinter &printer, const ChartContent &content, const ChartPrintLayout &layout,
                const QSizeF &screenSize, QString *error);

// Puts a chart of its own into `scene` (which owns it from then on), `size` big, laid out
// and ready to draw.
using ChartLayout = std::function<void(QGraphicsScene &scene, const QSizeF &size)>;

// The same for any chart: `lay` makes it at the size the page gives it at screen resolution.
bool printChart(QPrinter &printer, const ChartLayout &lay, const ChartPrintLayout &layout,
                const QSizeF &screenSize, QString *error);

} // namespace luvir
