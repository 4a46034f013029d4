#include "ReportPageView.h"

#include <QPainter>

namespace luvir {

ReportPageView::ReportPageView(QWidget *parent)
    : QWidget(parent)
{
}

void ReportPageView::setPage(PagePainter paint, const QSizeF &pageSize, double zoom)
{
    m_paint = std::move(paint);
    m_pageSize = pageSize;
    m_zoom = zoom;
    const QSize sheet = (pageSize * zoom).toSize();
    setFixedSize(sheet + QSize(2 * kBorder, 2 * kBorder));
    update();
}

void ReportPageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF sheet(kBorder, kBorder, m_pageSize.width() * m_zoom, m_pageSize.height() * m_zoom);
    painter.fillRect(sheet.translated(3, 3), QColor(96, 96, 96));
    painter.fillRect(sheet, Qt::white);
    if (!m_paint)
        return;
    painter.translate(sheet.topLeft());
    painter.scale(m_zoom, m_zoom);
    m_paint(painter);
}

} // namespace luvir
