#include "ReportPainter.h"

#include <QPaintDevice>
#include <QPainter>

namespace luvir {

namespace {

constexpr double kFrameWidth = 1.0; // one unit: 1/96 inch

void paintText(QPainter &painter, const PreparedText &text)
{
    if (text.framed) {
        painter.setPen(QPen(Qt::black, kFrameWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(text.rect);
    }
    if (text.text.isEmpty())
        return;
    const QRectF inner = text.rect.adjusted(kTextGapX, kTextGapY, -kTextGapX, -kTextGapY);
    painter.setPen(Qt::black);
    painter.setFont(text.font);
    // Text longer than its object is cut at the object's edges, as the object's frame says.
    painter.save();
    painter.setClipRect(text.rect, Qt::IntersectClip);
    painter.drawText(inner, static_cast<int>(text.alignment) | Qt::TextSingleLine, text.text);
    painter.restore();
}

} // namespace

void paintReportPage(QPainter &painter, const PreparedPage &page)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const PreparedBand &band : page.bands)
        for (const PreparedText &text : band.texts)
            paintText(painter, text);
    painter.restore();
}

double reportUnitScale(const QPaintDevice &device)
{
    return device.logicalDpiX() / kReportUnitsPerInch;
}

} // namespace luvir
