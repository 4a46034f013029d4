#pragma once
// Draws one page as a sheet of paper at a given zoom, for the preview.

#include <QSizeF>
#include <QWidget>

#include <functional>

namespace luvir {

class ReportPageView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kBorder = 10; // grey space around the sheet, in pixels

    explicit ReportPageView(QWidget *parent = nullptr);

    // `paint` draws the page with the painter in report units; none: a blank sheet.
    using PagePainter = std::function<void(QPainter &)>;
    void setPage(PagePainter paint, const QSizeF &pageSize, double zoom);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PagePainter m_paint;
    QSizeF m_pageSize;
    double m_zoom = 1.0;
};

} // namespace luvir
