#include "BarNumbers.h"

#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>

#include <QFontMetricsF>

#include <algorithm>

namespace luvir {

namespace {

// Free space between two numbers, and room for the margins the chart draws round a label.
constexpr double kNumberGap = 12.0;

} // namespace

int barNumberStep(double pitch, double needed, int count)
{
    if (count <= 1)
        return 1;
    for (int factor = 1; factor < count; factor *= 10)
        for (const int multiple : {1, 2, 5}) {
            const int step = multiple * factor;
            if (step >= count)
                return count;
            if (step * pitch >= needed)
                return step;
        }
    return count;
}

BarNumbers::BarNumbers(QChart *chart)
    : QObject(chart)
    , m_chart(chart)
{
    connect(chart, &QChart::plotAreaChanged, this, &BarNumbers::fit);
}

void BarNumbers::setNumbers(QCategoryAxis *axis, const QStringList &numbers)
{
    m_axis = axis;
    m_numbers = numbers;
    m_step = 0;
    m_widest = 0.0;
    if (axis) {
        const QFontMetricsF metrics(axis->labelsFont());
        for (const QString &number : numbers)
            m_widest = std::max(m_widest, metrics.horizontalAdvance(number));
    }
    fit();
}

void BarNumbers::fit()
{
    if (!m_axis || m_numbers.isEmpty())
        return;
    const auto count = static_cast<int>(m_numbers.size());
    const int step = barNumberStep(m_chart->plotArea().width() / count, m_widest + kNumberGap, count);
    if (step == m_step)
        return;
    m_step = step;
    for (const QString &label : m_axis->categoriesLabels())
        m_axis->remove(label);
    for (int i = step - 1; i < count; i += step)
        m_axis->append(m_numbers.at(i), static_cast<qreal>(i));
}

} // namespace luvir
