#include "ChartPrinting.h"

#include "ChartDrawing.h"
#include "PrintTarget.h"

#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QPrinter>

namespace luvir {

namespace {

// The chart is laid out at screen resolution and scaled onto the printer, so its fonts
// and lines have the size they have on screen relative to the chart.
constexpr double kLayoutDpi = 96.0;

// The margins are ours, measured from the paper's edges; the printer's own setting comes
// back afterwards, so the next dialog shows the margins the user chose.
class FullPageWhilePrinting
{
public:
    explicit FullPageWhilePrinting(QPrinter &printer)
        : m_printer(printer)
        , m_before(printer.fullPage())
    {
        m_printer.setFullPage(true);
    }
    ~FullPageWhilePrinting() { m_printer.setFullPage(m_before); }
    FullPageWhilePrinting(const FullPageWhilePrinting &) = delete;
    FullPageWhilePrinting &operator=(const FullPageWhilePrinting &) = delete;

private:
    QPrinter &m_printer;
    bool m_before;
};

} // namespace

QRectF chartPrintArea(const QRectF &page, const ChartPrintLayout &layout, const QSizeF &screenSize)
{
    const double dx = page.width() * layout.marginPercent / 100.0;
    const double dy = page.height() * layout.marginPercent / 100.0;
    QRectF area = page.adjusted(dx, dy, -dx, -dy);
    if (layout.proportional && !screenSize.isEmpty()) {
        const QSizeF fitted = screenSize.scaled(area.size(), Qt::KeepAspectRatio);
        area = QRectF(area.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
    }
    return area;
}

bool printChart(QPrinter &printer, const ChartContent &content, const ChartPrintLayout &layout,
    const QSizeF &screenSize, QString *error)
{
    const auto lay = [&content](QGraphicsScene &scene, const QSizeF &size) {
        const ChartParts parts = createChart();
        scene.addItem(parts.chart); // the scene owns the chart from here on
        parts.chart->resize(size);
        showChartContent(parts, content);
        // Let the chart lay out its axes, labels and legend for the new size before drawing.
        for (int pass = 0; pass < 2; ++pass) { // the second for the numbers chosen by the first
            QCoreApplication::sendPostedEvents();
            if (parts.chart->layout())
                parts.chart->layout()->activate();
            fitLabels(parts);
        }
    };
    return printChart(printer, lay, layout, screenSize, error);
}

bool printChart(QPrinter &printer, const ChartLayout &lay, const ChartPrintLayout &layout,
    const QSizeF &screenSize, QString *error)
{
    const FullPageWhilePrinting fullPage(printer);
    const QRectF page = printer.pageLayout().fullRectPixels(printer.resolution());
    const QRectF area = chartPrintArea(page, layout, screenSize);
    if (area.isEmpty()) {
        *error = QStringLiteral("Нет места для диаграммы на странице");
        return false;
    }

    QGraphicsScene scene;
    const double scale = printer.resolution() / kLayoutDpi;
    const QSizeF layoutSize = area.size() / scale;
    lay(scene, layoutSize);

    PrintTarget target(printer);
    QPainter painter;
    if (!painter.begin(&target.device())) {
        const QString target
            = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        *error = target.isEmpty() ? QStringLiteral("Не удалось начать печать: принтер не выбран")
                                  : QStringLiteral("Не удалось начать печать на \"%1\"").arg(target);
        return false;
    }
    scene.render(&painter, area, QRectF(QPointF(0, 0), layoutSize), Qt::IgnoreAspectRatio);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        *error = QStringLiteral("Ошибка печати диаграммы");
        return false;
    }
    return target.finish(error);
}

} // namespace luvir
