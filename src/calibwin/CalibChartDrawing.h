#pragma once
// Draws a CalibChartContent with Qt Charts: the sites as points (H across, the direct
// strength up), the culled ones with another marker and colour, the line over [Hmin, Hmax],
// each with its legend entry; numbers with the user's decimal separator.

#include "CalibChartContent.h"

#include <QtCharts/QChart>

namespace luvir {

// The series' names in the chart, for tests to find them by.
inline const QString kKeptSeries = QStringLiteral("kept");
inline const QString kCulledSeries = QStringLiteral("culled");
inline const QString kLineSeries = QStringLiteral("line");

// A new chart showing `content`; the caller owns it.
QChart *createCalibChart(const CalibChartContent &content);

} // namespace luvir
