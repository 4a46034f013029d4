#pragma once
// What the calibration chart shows, as plain data: each computed site as a point (H across,
// the direct strength up), those the line rests on apart from the culled (or, for Kc, not
// counted) ones, and the line over the H the dependency holds for.

#include "CalibOutcome.h"

#include <QLineF>
#include <QList>
#include <QPointF>
#include <QString>

namespace luvir {

struct CalibChartContent {
    QString title; // the equation, or Kc
    QList<QPointF> kept; // (H, R direct) of the sites the line rests on
    QList<QPointF> culled; // culled, or not counted for Kc
    QLineF line; // from (Hmin, R(Hmin)) to (Hmax, R(Hmax)); null when nothing was computed
    QString keptName, culledName, lineName; // the legend
};

CalibChartContent calibChartContent(const CalibOutcome &outcome, const QString &separator);

} // namespace luvir
