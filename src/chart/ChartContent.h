#pragma once
// What the chart window shows, as plain data: the bars, the line, the titles. Built from
// a cell (the intermediate values of one measurement) or from the measurements of the
// table (the strength of each); the window only draws it.

#include "CellArchive.h"
#include "Measurement.h"

#include <QColor>
#include <QList>
#include <QString>

namespace luvir {

// One point of a series: X is the impact (or row) number, Y the value in MPa.
struct ChartPoint {
    int x = 0;
    double y = 0.0;
    QColor color;
    QString label; // " " on every point: no point text beside the axis values

    friend bool operator==(const ChartPoint &, const ChartPoint &) = default;
};

struct ChartContent {
    QString caption;     // the window's caption
    QString title;       // the chart's one-line title
    QString xAxisTitle;  // bottom axis
    QString yAxisTitle;  // left axis
    QList<ChartPoint> bars; // Series1, X ascending
    QList<ChartPoint> line; // Series2, at the same X values as the bars
    QString lineTitle;      // Series2's legend entry; empty: no legend entry
};

inline const QColor kPlainValueColor{255, 0, 0};  // red
inline const QColor kMarkedValueColor{0, 0, 255}; // blue
inline const QColor kLineColor{0, 0, 0};          // black

inline const QString kIntermediateChartCaption = QStringLiteral("Диаграмма промежуточных значений");
inline const QString kMeasurementsChartCaption = QStringLiteral("Диаграмма измерений");

// The intermediate values of `cell`, shown in table row `row` whose date column reads
// `dateTimeText`: a bar for every non-zero word at X = position + 1 (red for a plain value,
// blue for a marked one), a line at R over the same X values, the average in the legend.
ChartContent intermediateChartContent(const ArchiveCell &cell, int row, const QString &dateTimeText,
                                      const QString &separator);

// The strength R of each of `measurements`, a bar for the r-th at X = r (its row in the
// table), and a line at their mean.
ChartContent measurementsChartContent(const QList<Measurement> &measurements, const QString &separator);

} // namespace luvir
