#pragma once
// The numbers under the bars: every bar's number while each has room for it, otherwise the
// number of every k-th bar (k = 2, 5, 10, 20, 50, …), so that no number is cut short and no
// two touch. Worked out again whenever the plot area changes size.

#include <QObject>
#include <QPointer>
#include <QStringList>

QT_BEGIN_NAMESPACE
class QCategoryAxis;
class QChart;
QT_END_NAMESPACE

namespace luvir {

// The smallest step of 1, 2, 5, 10, 20, 50, … at which numbers `needed` pixels wide stand
// apart under bars `pitch` pixels apart; never more than `count`, so one number always shows.
int barNumberStep(double pitch, double needed, int count);

class BarNumbers : public QObject
{
    Q_OBJECT

public:
    // Numbers for the bars of `chart`; owned by the chart.
    explicit BarNumbers(QChart *chart);

    // `axis` (bar i standing at the value i) shows `numbers`, one per bar in bar order.
    void setNumbers(QCategoryAxis *axis, const QStringList &numbers);
    // Every how many bars a number stands now.
    int step() const { return m_step; }
    // Chooses the step for the plot area's present width; done by itself when it changes.
    void fit();

private:
    QChart *m_chart;
    QPointer<QCategoryAxis> m_axis;
    QStringList m_numbers;
    double m_widest = 0.0; // the widest number, in pixels of the axis' font
    int m_step = 0; // 0: no number placed yet
};

} // namespace luvir
