#include "CalibChartDrawing.h"

#include "ChartDrawing.h"

#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace luvir {

namespace {

const QColor kKeptColor(0x1f, 0x5f, 0xbf);
const QColor kCulledColor(0xd0, 0x20, 0x20);
const QColor kFitLineColor(0x20, 0x80, 0x30);

// A range from `low` to `high` widened by a twentieth each side, to round figures, and at
// least 10 MPa wide: the labels are whole MPa, and a narrower axis repeated them ("29 29 30").
std::pair<double, double> axisRange(double low, double high)
{
    constexpr double kNarrowest = 10;
    const double margin = std::max((high - low) / 20, 0.5);
    low -= margin;
    high += margin;
    if (high - low < kNarrowest) {
        const double middle = (low + high) / 2;
        low = middle - kNarrowest / 2;
        high = middle + kNarrowest / 2;
    }
    return {std::floor(low), std::ceil(high)};
}

QValueAxis *valueAxis(const QString &title, std::pair<double, double> range)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(range.first, range.second);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    axis->applyNiceNumbers();
    return axis;
}

} // namespace

QChart *createCalibChart(const CalibChartContent &content)
{
    QChart *chart = newChart();
    chart->setTitle(content.title);

    auto *kept = new QScatterSeries(chart);
    kept->setObjectName(kKeptSeries);
    kept->setName(content.keptName);
    kept->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    kept->setMarkerSize(9);
    kept->setColor(kKeptColor);
    kept->setBorderColor(kKeptColor.darker());
    kept->append(content.kept);

    auto *culled = new QScatterSeries(chart);
    culled->setObjectName(kCulledSeries);
    culled->setName(content.culledName);
    culled->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
    culled->setMarkerSize(12);
    culled->setColor(kCulledColor);
    culled->setBorderColor(kCulledColor.darker());
    culled->append(content.culled);

    auto *line = new QLineSeries(chart);
    line->setObjectName(kLineSeries);
    line->setName(content.lineName);
    line->setPen(QPen(kFitLineColor, 2));
    if (!content.line.isNull())
        line->append({content.line.p1(), content.line.p2()});

    QList<QPointF> all = content.kept + content.culled;
    if (!content.line.isNull())
        all << content.line.p1() << content.line.p2();
    // Without sites, the axes of a usual concrete: whole MPa from 0 to 60.
    double xLow = 0, xHigh = 60, yLow = 0, yHigh = 60;
    if (!all.isEmpty()) {
        const auto [xMin, xMax] = std::minmax_element(
            all.cbegin(), all.cend(), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
        const auto [yMin, yMax] = std::minmax_element(
            all.cbegin(), all.cend(), [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
        std::tie(xLow, xHigh) = axisRange(xMin->x(), xMax->x());
        std::tie(yLow, yHigh) = axisRange(yMin->y(), yMax->y());
    }
    QValueAxis *x = valueAxis(QStringLiteral("H, МПа"), {xLow, xHigh});
    QValueAxis *y = valueAxis(QStringLiteral("R прямой, МПа"), {yLow, yHigh});
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    // The line under the points, so no point is hidden by it.
    for (QAbstractSeries *series : {static_cast<QAbstractSeries *>(line),
             static_cast<QAbstractSeries *>(kept), static_cast<QAbstractSeries *>(culled)}) {
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    }
    // A series with nothing to show has no legend entry.
    for (QAbstractSeries *series : chart->series())
        if (const auto *xy = qobject_cast<QXYSeries *>(series); xy && xy->count() == 0)
            for (QLegendMarker *marker : chart->legend()->markers(series))
                marker->setVisible(false);
    return chart;
}

} // namespace luvir
