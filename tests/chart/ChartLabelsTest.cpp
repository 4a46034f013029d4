#include "BarNumbers.h"
#include "BarValueMarks.h"
#include "CellText.h"
#include "MeasurementTable.h"
#include "ScriptedDialogs.h"
#include "TestData.h"
#include "Unit5.h"

#include <QtCharts/QChartView>

#include <QApplication>
#include <QGraphicsRectItem>
#include <QGraphicsTextItem>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include <gtest/gtest.h>

using namespace luvir;

namespace {

// What a rendered chart shows, in scene coordinates, read off the items it drew.
struct DrawnChart {
    QRectF chart;
    QRectF plot;
    QStringList texts; // every text the chart shows
    QList<std::pair<int, QRectF>> numbers; // the numbers under the bars, left to right
    QList<QRectF> bars; // left to right
    QList<QRectF> marks; // the value marks, in bar order
    QStringList markTexts;

    bool operator==(const DrawnChart &) const = default;
};

void collect(QGraphicsItem *item, DrawnChart &drawn)
{
    if (!item->isVisible())
        return;
    if (auto *text = dynamic_cast<QGraphicsTextItem *>(item)) {
        drawn.texts << text->toPlainText();
        const QRectF rect = text->sceneBoundingRect();
        static const QRegularExpression digits(QStringLiteral("^\\d+$"));
        if (rect.top() >= drawn.plot.bottom() && digits.match(text->toPlainText()).hasMatch())
            drawn.numbers.append({text->toPlainText().toInt(), rect});
    } else if (auto *rect = dynamic_cast<QGraphicsRectItem *>(item)) {
        const QColor colour = rect->brush().color();
        if (colour == QColor(255, 0, 0) || colour == QColor(0, 0, 255))
            drawn.bars << rect->mapRectToScene(rect->rect());
    }
    for (QGraphicsItem *child : item->childItems())
        collect(child, drawn);
}

// The chart of the form as it stands now, read off the scene.
DrawnChart readChart(TForm5 &form)
{
    QChart *chart = form.Chart1->chart();
    DrawnChart drawn;
    drawn.chart = chart->mapRectToScene(chart->rect());
    drawn.plot = chart->mapRectToScene(chart->plotArea());
    collect(chart, drawn);
    const auto *marks = chart->findChild<BarValueMarks *>();
    if (marks) {
        for (const QRectF &rect : marks->rects())
            drawn.marks << chart->mapRectToScene(rect);
        drawn.markTexts = marks->texts();
    }
    auto byLeft = [](const auto &a, const auto &b) { return a.left() < b.left(); };
    std::sort(drawn.bars.begin(), drawn.bars.end(), byLeft);
    std::sort(drawn.numbers.begin(), drawn.numbers.end(),
        [](const auto &a, const auto &b) { return a.second.left() < b.second.left(); });
    return drawn;
}

// The form shown and laid out at its present size: its chart has a plot area, and a round
// of events (layout, the numbers and marks fitted to the plot area) changed nothing in it.
DrawnChart drawnChart(TForm5 &form)
{
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    std::optional<DrawnChart> last;
    const bool settled = QTest::qWaitFor([&] {
        const DrawnChart now = readChart(form);
        const bool same = last == now && !now.plot.isEmpty();
        last = now;
        return same;
    });
    EXPECT_TRUE(settled) << "the chart kept changing, or has no plot area";
    return *last;
}

// Every text whole, numbers under their own bars at even steps and apart, value marks
// apart from each other and from every bar.
void expectReadable(
    const DrawnChart &drawn, const std::function<int(int)> &barOfNumber, const std::string &name)
{
    for (const QString &text : drawn.texts)
        EXPECT_FALSE(text.contains(u'…') || text.contains(QStringLiteral("...")))
            << name << ": cut short: " << text.toStdString();

    ASSERT_FALSE(drawn.numbers.isEmpty()) << name;
    const int step = drawn.numbers.first().first;
    for (qsizetype i = 0; i < drawn.numbers.size(); ++i) {
        const auto &[number, rect] = drawn.numbers.at(i);
        EXPECT_EQ(number, step * (i + 1)) << name << ": numbers at even steps, none left out";
        EXPECT_TRUE(drawn.chart.contains(rect)) << name << ": " << number << " inside the chart";
        if (i > 0) {
            EXPECT_LE(drawn.numbers.at(i - 1).second.right(), rect.left()) << name << ": " << number;
        }
        const int bar = barOfNumber(number);
        ASSERT_TRUE(bar >= 0 && bar < drawn.bars.size()) << name << ": " << number;
        EXPECT_NEAR(rect.center().x(), drawn.bars.at(bar).center().x(), 1.5)
            << name << ": " << number << " under its bar";
    }
    // The last number stands within one step of the last bar.
    EXPECT_GT(barOfNumber(drawn.numbers.last().first) + step, drawn.bars.size() - 1) << name;

    for (qsizetype i = 0; i < drawn.marks.size(); ++i) {
        const QRectF &mark = drawn.marks.at(i);
        EXPECT_GE(mark.top(), drawn.plot.top() - 1) << name << ": mark " << i << " inside the plot";
        for (qsizetype j = i + 1; j < drawn.marks.size(); ++j)
            EXPECT_FALSE(mark.intersects(drawn.marks.at(j))) << name << ": marks " << i << ", " << j;
        for (qsizetype j = 0; j < drawn.bars.size(); ++j)
            EXPECT_FALSE(mark.intersects(drawn.bars.at(j))) << name << ": mark " << i << " over bar " << j;
    }
}

} // namespace

TEST(ChartLabels, MeasurementsChartIsReadableAtEveryRowCount)
{
    test::ScriptedDialogs dialogs;
    // At the window's first size (667 pixels wide) a number of up to two digits and a value
    // like "38,5" in its frame have room under and over each of 11 bars; with more bars
    // every k-th bar is numbered, with k no larger than the numbers' width asks for.
    const struct {
        int rows;
        bool everyBarNumbered;
        bool everyBarValued;
        int largestStep;
    } cases[] = {
        {1, true, true, 1},
        {2, true, true, 1},
        {10, true, true, 1},
        {11, true, true, 1},
        {30, false, false, 5},
        {40, false, false, 5},
        {100, false, false, 10},
        {999, false, false, 100},
    };
    for (const auto &c : cases) {
        const std::string name = std::to_string(c.rows) + " rows";
        TForm5 form;
        const CellArchive archive = test::sampleArchive(c.rows);
        form.fillMeasurementsChart(measurementsOf(archive));
        const DrawnChart drawn = drawnChart(form);
        ASSERT_EQ(drawn.bars.size(), c.rows) << name;
        expectReadable(
            drawn, [](int number) { return number - 1; }, name);
        ASSERT_FALSE(drawn.numbers.isEmpty()) << name;
        EXPECT_LE(drawn.numbers.first().first, c.largestStep) << name;
        if (c.everyBarNumbered) {
            EXPECT_EQ(drawn.numbers.size(), c.rows) << name;
        }
        if (c.everyBarValued) {
            EXPECT_EQ(drawn.marks.size(), c.rows) << name;
        } else {
            EXPECT_TRUE(drawn.marks.isEmpty()) << name << ": no mark at all rather than some";
        }
    }
}

TEST(ChartLabels, EveryImpactIsNumberedAndValued)
{
    test::ScriptedDialogs dialogs;
    TForm5 form;
    // Fifteen values between 32.8 and 36.7 MPa, two of them marked.
    const ArchiveCell cell = test::sampleCell(4);
    form.fillIntermediateChart(cell, 5, QStringLiteral("05.05.2026 12:28:04"));
    const DrawnChart drawn = drawnChart(form);
    ASSERT_EQ(drawn.bars.size(), 15);
    expectReadable(
        drawn, [](int number) { return number - 1; }, "15 impacts");
    EXPECT_EQ(drawn.numbers.size(), 15);
    EXPECT_EQ(drawn.marks.size(), 15);
}

TEST(ChartLabels, HiddenValuesComeBackWhenTheWindowIsWidened)
{
    test::ScriptedDialogs dialogs;
    TForm5 form;
    const CellArchive archive = test::sampleArchive(40);
    form.fillMeasurementsChart(measurementsOf(archive));
    const DrawnChart narrow = drawnChart(form);
    EXPECT_TRUE(narrow.marks.isEmpty());
    EXPECT_GT(narrow.numbers.first().first, 1);

    form.resize(2400, 600); // 40 bars of about 57 pixels each
    const DrawnChart wide = drawnChart(form);
    expectReadable(
        wide, [](int number) { return number - 1; }, "40 rows, wide");
    EXPECT_EQ(wide.marks.size(), 40);
    EXPECT_EQ(wide.numbers.size(), 40);

    form.resize(667, 400);
    const DrawnChart again = drawnChart(form);
    expectReadable(
        again, [](int number) { return number - 1; }, "40 rows, narrow again");
    EXPECT_TRUE(again.marks.isEmpty());
}

TEST(BarNumberStep, SmallestRoundStepThatGivesEachNumberItsWidth)
{
    const struct {
        double pitch;
        double needed;
        int count;
        int step;
    } cases[] = {
        {50.0, 30.0, 11, 1},
        {30.0, 30.0, 15, 1},
        {18.0, 30.0, 30, 2},
        {10.0, 30.0, 40, 5},
        {5.5, 33.0, 100, 10},
        {0.55, 33.0, 999, 100},
        {0.55, 28.0, 999, 100},
        {0.56, 28.0, 999, 50},
        // No round step fits: one number, under the last bar.
        {1.0, 30.0, 3, 3},
        {0.0, 30.0, 999, 999},
        {0.0, 30.0, 1, 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(barNumberStep(c.pitch, c.needed, c.count), c.step) << c.pitch << " " << c.count;
}
