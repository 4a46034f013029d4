// The figures of one series. Every expected figure was worked out apart from the program
// (Python's statistics module on exact fractions, rounded half away from zero).
#include "SeriesGroups.h"
#include "SeriesTable.h"
#include "StatsTestData.h"

#include <gtest/gtest.h>

using namespace luvir;
using namespace luvir::test;

namespace {

struct SeriesCase {
    const char *what;
    std::vector<std::uint16_t> tenths;
    const char *separator;
    QStringList expected; // n, Rmin, Rmax, Rm, Sm, Vm
};

const QString D = QStringLiteral("—");

const SeriesCase kSeries[] = {
    {"no measurement at all", {}, ".", {"0", D, D, D, D, D}},
    {"one measurement: Sm and Vm undefined", {253}, ".", {"1", "25.3", "25.3", "25.3", D, D}},
    {"one measurement, comma", {253}, ",", {"1", "25,3", "25,3", "25,3", D, D}},
    {"two measurements", {200, 237}, ".", {"2", "20", "23.7", "21.9", "2.6", "12.0"}},
    {"two measurements, comma", {200, 237}, ",", {"2", "20", "23,7", "21,9", "2,6", "12,0"}},
    {"equal values: Sm 0, Vm 0", {300, 300, 300}, ",", {"3", "30", "30", "30,0", "0,0", "0,0"}},
    {"Rm 0: Vm undefined", {0, 0}, ".", {"2", "0", "0", "0.0", "0.0", D}},
    {"a single 0", {0}, ".", {"1", "0", "0", "0.0", D, D}},
    {"Rm exactly 25.35 rounds up", {253, 254}, ".", {"2", "25.3", "25.4", "25.4", "0.1", "0.3"}},
    {"Rm 25.35 of four", {252, 253, 254, 255}, ",", {"4", "25,2", "25,5", "25,4", "0,1", "0,5"}},
    // Sm is exactly 0.05, Vm exactly 0.2.
    {"Sm exactly 0.05 rounds up", {250, 250, 250, 250, 250, 250, 250, 249, 251}, ".",
        {"9", "24.9", "25.1", "25.0", "0.1", "0.2"}},
    // Sm is exactly 0.1 and Vm exactly 1.25 %; in plain doubles Vm comes out as 1.2499999…
    {"Vm exactly 1.25 rounds up", {79, 80, 81}, ",", {"3", "7,9", "8,1", "8,0", "0,1", "1,3"}},
    {"a typical series of ten", {253, 261, 248, 270, 239, 255, 262, 244, 251, 258}, ",",
        {"10", "23,9", "27", "25,4", "0,9", "3,6"}},
    {"Rmin and Rmax as the table writes them", {250, 305, 250}, ",",
        {"3", "25", "30,5", "26,8", "3,2", "11,8"}},
    {"the widest values", {65535, 0}, ".", {"2", "0", "6553.5", "3276.8", "4634.0", "141.4"}},
};

TEST(SeriesFigures, TableOfSeries)
{
    for (const SeriesCase &c : kSeries) {
        SCOPED_TRACE(c.what);
        const QString separator = QString::fromLatin1(c.separator);
        const SeriesGroup group
            = seriesGroup(kAllRowsGroup, measurementsOf(archiveOfStrengths(c.tenths)), separator);
        EXPECT_EQ(seriesGroupFields(group, separator, false), QStringList {"Все измерения"} + c.expected);
    }
}

TEST(SeriesFigures, RoundOnlyForDisplay)
{
    // 7.9, 8.0, 8.1: Rm 8, Sm 0.1, Vm 1.25 % before rounding.
    const SeriesFigures f = seriesFigures(measurementsOf(archiveOfStrengths({79, 80, 81})), ".");
    ASSERT_TRUE(f.mean && f.deviation && f.variation);
    EXPECT_NEAR(*f.mean, 8.0, 1e-12);
    EXPECT_NEAR(*f.deviation, 0.1, 1e-12);
    EXPECT_NEAR(*f.variation, 1.25, 1e-12);

    // 20.0 and 23.7: Sm = 3.7 / √2 = 2.6162950903902…, Vm = 11.973890573868…
    const SeriesFigures g = seriesFigures(measurementsOf(archiveOfStrengths({200, 237})), ".");
    ASSERT_TRUE(g.deviation && g.variation);
    EXPECT_NEAR(*g.mean, 21.85, 1e-12);
    EXPECT_NEAR(*g.deviation, 2.616295090390226, 1e-12);
    EXPECT_NEAR(*g.variation, 11.97389057386831, 1e-10);
}

TEST(SeriesFigures, RminAndRmaxAreTheTablesTexts)
{
    // Rmin and Rmax come from the table's texts, not from a number written anew.
    const SeriesFigures f = seriesFigures(measurementsOf(archiveOfStrengths({300, 205, 300, 205})), ",");
    EXPECT_EQ(f.minimumText, "20,5");
    EXPECT_EQ(f.maximumText, "30");
}

} // namespace
