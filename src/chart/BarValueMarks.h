#pragma once
// The value marks of a bar series: a framed label above each bar, joined to it by a short
// pointer, drawn over every series so that a line across the bars never hides a value.
// The marks show only while each fits above its own bar, clear of its neighbours; when the
// bars stand too close for that (many bars, a narrow window) none is shown, and they come
// back when the window is widened.

#include <QList>
#include <QObject>
#include <QRectF>
#include <QStringList>

QT_BEGIN_NAMESPACE
class QAbstractGraphicsShapeItem;
class QBarSeries;
class QChart;
class QGraphicsItem;
QT_END_NAMESPACE

namespace luvir {

class BarValueMarks : public QObject
{
    Q_OBJECT

public:
    // Marks for the bars of `series` in `chart`; owned by the chart.
    BarValueMarks(QChart *chart, QBarSeries *series);
    ~BarValueMarks() override;

    // One mark per value, in bar order.
    void setValues(const QList<double> &values);
    // The texts of the marks shown now: the value with one decimal.
    QStringList texts() const;
    // Where the marks shown now stand, in the chart's coordinates.
    QList<QRectF> rects() const;
    // Puts the marks over their bars, or hides them all when they do not fit side by side;
    // done by itself whenever the plot area changes.
    void place();

private:
    void clearMarks();

    QChart *m_chart;
    QBarSeries *m_series;
    QList<double> m_values;
    QList<QGraphicsItem *> m_marks; // the framed labels
    QList<QGraphicsItem *> m_pointers; // the lines from bar to label
    bool m_shown = false; // the marks fit above their bars and are shown
};

} // namespace luvir
