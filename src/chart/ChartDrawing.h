#pragma once
// Draws a ChartContent with Qt Charts: a bar series with a value above each bar and a
// colour per bar, a 2-pixel line with its legend entry, the impact (or row) numbers on the
// bottom axis, the values on the left axis.

#include "ChartContent.h"

#include <QtCharts/QChart>

QT_BEGIN_NAMESPACE
class QBarSeries;
class QLineSeries;
QT_END_NAMESPACE

namespace luvir {

class BarNumbers;
class BarValueMarks;

// The parts of one chart; the chart owns the series.
struct ChartParts {
    QChart *chart = nullptr;
    QBarSeries *bars = nullptr; // the values
    QLineSeries *line = nullptr; // the average
    BarValueMarks *marks = nullptr; // the values written above the bars
    BarNumbers *numbers = nullptr; // the numbers under the bars
};

// A new, empty chart with the look of the chart window: white, flat, no title, legend
// below, bars not in the legend. The caller owns `parts.chart`.
ChartParts createChart();

// An empty chart in the program's one look: white, square, still, numbers in the user's
// locale without group separators, a bold title, the legend below. Every chart starts here.
QChart *newChart();

// Replaces everything the chart shows by `content`: the points of both series, the axes
// with their titles and ranges, the title and the legend entry. Nothing of what the chart
// showed before remains.
void showChartContent(const ChartParts &parts, const ChartContent &content);

// The chart title as the chart draws it: rich text, so runs of spaces are kept with
// non-breaking ones and markup characters are escaped.
QString chartTitleMarkup(const QString &title);

// Up to this many bars each has a black frame; more are too narrow to show their colour
// inside one.
inline constexpr int kMaxFramedBars = 40;

// Fits the numbers under the bars and the value marks to the chart's present layout. The
// chart does this by itself when its plot area changes; a chart drawn off screen calls it
// once laid out.
void fitLabels(const ChartParts &parts);

} // namespace luvir
