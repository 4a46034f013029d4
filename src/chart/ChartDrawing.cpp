#include "ChartDrawing.h"

#include "BarNumbers.h"
#include "BarValueMarks.h"

#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <QFont>
#include <QLocale>
#include <QPen>

#include <algorithm>

namespace luvir {

namespace {

// Room above the highest bar for its value mark.
constexpr double kHeadroom = 1.15;

void hideFromLegend(QChart *chart, QAbstractSeries *series)
{
    for (QLegendMarker *marker : chart->legend()->markers(series))
        marker->setVisible(false);
}

void removeAxes(QChart *chart)
{
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
}

// One bar set carries both colours: the plain colour as its own, every bar of another
// colour selected and drawn in the selected colour.
QBarSet *barSet(const QList<ChartPoint> &bars)
{
    auto *set = new QBarSet(QString());
    set->setColor(kPlainValueColor);
    set->setSelectedColor(kMarkedValueColor);
    // A frame round a bar only while the bars are wide enough to show their colour inside it.
    if (bars.size() <= kMaxFramedBars)
        set->setBorderColor(QColor(Qt::black));
    else
        set->setPen(Qt::NoPen);
    set->setLabelColor(QColor(Qt::black));
    for (qsizetype i = 0; i < bars.size(); ++i) {
        set->append(bars.at(i).y);
        if (bars.at(i).color != kPlainValueColor) {
            set->setSelectedColor(bars.at(i).color);
            set->selectBar(static_cast<int>(i));
        }
    }
    return set;
}

// The bottom axis of `count` bars, bar i standing at the value i; BarNumbers writes the
// numbers under them.
QCategoryAxis *barAxis(qsizetype count)
{
    auto *axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setTruncateLabels(false);
    axis->setRange(-0.5, static_cast<qreal>(std::max<qsizetype>(count, 1)) - 0.5);
    return axis;
}

double highestValue(const ChartContent &content)
{
    double highest = 0.0;
    for (const ChartPoint &p : content.bars)
        highest = std::max(highest, p.y);
    for (const ChartPoint &p : content.line)
        highest = std::max(highest, p.y);
    return highest;
}

} // namespace

QChart *newChart()
{
    auto *chart = new QChart;
    chart->setBackgroundBrush(QColor(Qt::white));
    chart->setBackgroundRoundness(0);
    chart->setDropShadowEnabled(false);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setLocalizeNumbers(true);
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    chart->setLocale(locale);
    QFont titleFont = chart->titleFont();
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

ChartParts createChart()
{
    ChartParts parts;
    parts.chart = newChart();
    QChart *chart = parts.chart;

    parts.bars = new QBarSeries(chart);
    parts.bars->setLabelsVisible(false); // the marks below write the values
    chart->addSeries(parts.bars);
    parts.marks = new BarValueMarks(chart, parts.bars);
    parts.numbers = new BarNumbers(chart);

    parts.line = new QLineSeries(chart);
    parts.line->setPen(QPen(kLineColor, 2));
    parts.line->setPointsVisible(false);
    parts.line->setPointLabelsVisible(false);
    chart->addSeries(parts.line);
    return parts;
}

void showChartContent(const ChartParts &parts, const ChartContent &content)
{
    QChart *chart = parts.chart;
    parts.bars->clear();
    parts.line->clear();
    removeAxes(chart);
    chart->setTitle(QString());

    // Bar i stands at the value i of the bottom axis, the line's points at the values of
    // their bars.
    QStringList categories;
    for (const ChartPoint &bar : content.bars)
        categories << QString::number(bar.x);
    if (!content.bars.isEmpty())
        parts.bars->append(barSet(content.bars));
    parts.bars->setBarWidth(content.bars.size() <= kMaxFramedBars ? 0.5 : 0.8);
    for (const ChartPoint &point : content.line) {
        const qsizetype index = categories.indexOf(QString::number(point.x));
        if (index >= 0)
            parts.line->append(static_cast<qreal>(index), point.y);
    }

    QCategoryAxis *xAxis = barAxis(categories.size());
    xAxis->setTitleText(content.xAxisTitle);
    xAxis->setGridLineVisible(false);
    auto *yAxis = new QValueAxis;
    yAxis->setTitleText(content.yAxisTitle);
    const double highest = highestValue(content);
    yAxis->setRange(0.0, highest > 0.0 ? highest * kHeadroom : 10.0);
    yAxis->applyNiceNumbers();
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    for (QAbstractSeries *series :
        {static_cast<QAbstractSeries *>(parts.bars), static_cast<QAbstractSeries *>(parts.line)}) {
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
    }

    QList<double> values;
    for (const ChartPoint &bar : content.bars)
        values << bar.y;
    parts.numbers->setNumbers(xAxis, categories);
    parts.marks->setValues(values);

    hideFromLegend(chart, parts.bars);
    parts.line->setName(content.lineTitle);
    chart->legend()->setVisible(!content.lineTitle.isEmpty());
    chart->setTitle(chartTitleMarkup(content.title));
}

void fitLabels(const ChartParts &parts)
{
    parts.numbers->fit();
    parts.marks->place();
}

QString chartTitleMarkup(const QString &title)
{
    QString markup = title.toHtmlEscaped();
    markup.replace(QStringLiteral("  "), QStringLiteral(" &nbsp;"));
    return markup;
}

} // namespace luvir
