#include "ChartContent.h"
#include "MeasurementTable.h"
#include "TestData.h"

#include <gtest/gtest.h>

using namespace luvir;
using luvir::test::makeCell;

namespace {

const QString kDate = QStringLiteral("03.12.2013 14:05:09");

ChartPoint bar(int x, double y, const QColor &color)
{
    return {x, y, color, QStringLiteral(" ")};
}

ChartPoint linePoint(int x, double y)
{
    return {x, y, kLineColor, QStringLiteral(" ")};
}

} // namespace

TEST(IntermediateChartContent, BarsAndLineFollowTheNonZeroWords)
{
    const struct {
        const char *name;
        ArchiveCell cell;
        QList<ChartPoint> bars;
        QList<ChartPoint> line;
    } cases[] = {
        {"all words zero", makeCell({.strength = 250}), {}, {}},
        {"only the seventh word",
         makeCell({.impacts = {0, 0, 0, 0, 0, 0, 253}, .strength = 250}),
         {bar(7, 25.3, kPlainValueColor)},
         {linePoint(7, 25.0)}},
        {"plain then marked of the same value",
         makeCell({.impacts = {0x00FA, 0, 0x80FA}, .strength = 251}),
         {bar(1, 25.0, kPlainValueColor), bar(3, 25.0, kMarkedValueColor)},
         {linePoint(1, 25.1), linePoint(3, 25.1)}},
        {"0x8000 is the largest plain value",
         makeCell({.impacts = {0x8000}, .strength = 32768}),
         {bar(1, 3276.8, kPlainValueColor)},
         {linePoint(1, 3276.8)}},
        {"smallest and largest marked values",
         makeCell({.impacts = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x8001, 0xFFFF}, .strength = 1}),
         {bar(14, 0.1, kMarkedValueColor), bar(15, 3276.7, kMarkedValueColor)},
         {linePoint(14, 0.1), linePoint(15, 0.1)}},
    };
    for (const auto &c : cases) {
        const ChartContent content = intermediateChartContent(c.cell, 5, kDate, ".");
        EXPECT_EQ(content.bars, c.bars) << c.name;
        EXPECT_EQ(content.line, c.line) << c.name;
    }
}

TEST(IntermediateChartContent, TitlesOfTheWindowChartAxesAndLegend)
{
    const ChartContent content = intermediateChartContent(makeCell({.strength = 250}), 5, kDate, ".");
    EXPECT_EQ(content.caption, "Диаграмма промежуточных значений");
    EXPECT_EQ(content.title, "Промежуточные значения  Измерение №5 Дата 03.12.2013 14:05:09");
    EXPECT_EQ(content.xAxisTitle, "№ Удара");
    EXPECT_EQ(content.yAxisTitle, "R, МПа");
    // The legend keeps its entry even without a single value to chart.
    EXPECT_EQ(content.lineTitle, "Среднее (25.0)");
}

TEST(IntermediateChartContent, TitleTakesTheRowPositionAndTheDateTextAsGiven)
{
    // After a deletion the row's position and its "№" text differ; the title shows the position,
    // and an emptied date column gives an empty date.
    const ChartContent content = intermediateChartContent(makeCell({}), 998, QString(), ".");
    EXPECT_EQ(content.title, "Промежуточные значения  Измерение №998 Дата ");
}

TEST(IntermediateChartContent, AverageUsesTheGivenDecimalSeparator)
{
    const struct {
        std::uint16_t strength;
        const char *separator;
        const char *legend;
    } cases[] = {
        {253, ",", "Среднее (25,3)"}, {253, ".", "Среднее (25.3)"}, {0, ",", "Среднее (0,0)"},
        {5, ",", "Среднее (0,5)"},    {0xFFFF, ",", "Среднее (6553,5)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(intermediateChartContent(makeCell({.strength = c.strength}), 1, kDate, c.separator).lineTitle,
                  c.legend)
            << c.strength << c.separator;
}

TEST(MeasurementsChartContent, OneBarPerRowAndALineAtTheMean)
{
    CellArchive archive;
    archive.Count = 3;
    archive.Cells[0] = makeCell({.strength = 250});
    archive.Cells[1] = makeCell({.strength = 251});
    archive.Cells[2] = makeCell({.strength = 0});

    const ChartContent content = measurementsChartContent(measurementsOf(archive), ",");
    EXPECT_EQ(content.caption, "Диаграмма измерений");
    EXPECT_EQ(content.title, "Диаграмма измерений");
    EXPECT_EQ(content.xAxisTitle, "№ Измерения");
    EXPECT_EQ(content.yAxisTitle, "R, МПа");
    EXPECT_EQ(content.bars, (QList<ChartPoint>{bar(1, 25.0, kPlainValueColor), bar(2, 25.1, kPlainValueColor),
                                               bar(3, 0.0, kPlainValueColor)}));
    ASSERT_EQ(content.line.size(), 3);
    EXPECT_EQ(content.line.first().x, 1);
    EXPECT_EQ(content.line.last().x, 3);
    EXPECT_NEAR(content.line.first().y, 16.7, 1e-9);
    EXPECT_EQ(content.lineTitle, "Среднее (16,7)");
}

TEST(MeasurementsChartContent, MeanIsRoundedHalfUpToOneDecimal)
{
    CellArchive archive;
    archive.Count = 2;
    archive.Cells[0] = makeCell({.strength = 250});
    archive.Cells[1] = makeCell({.strength = 251});
    EXPECT_EQ(measurementsChartContent(measurementsOf(archive), ".").lineTitle,
              "Среднее (25.1)");
}

TEST(MeasurementsChartContent, BarsStandAtTheRowsPositionsAndNoneChartsNothing)
{
    // After a deletion the numbers have a gap; the bars stand at the rows' positions.
    CellArchive archive = test::sampleArchive(3);
    MeasurementTable table = buildMeasurementTable(archive, ".");
    ASSERT_TRUE(deleteMeasurement(table, archive, 2));
    const ChartContent content = measurementsChartContent(table.measurements, ".");
    const double first = archive.Cells[0].strengthWord() / 10.0;
    const double second = archive.Cells[1].strengthWord() / 10.0;
    EXPECT_EQ(content.bars, (QList<ChartPoint>{bar(1, first, kPlainValueColor), bar(2, second, kPlainValueColor)}));

    const ChartContent empty = measurementsChartContent({}, ".");
    EXPECT_EQ(empty.title, "Диаграмма измерений");
    EXPECT_TRUE(empty.bars.isEmpty());
    EXPECT_TRUE(empty.line.isEmpty());
    EXPECT_TRUE(empty.lineTitle.isEmpty());
}
