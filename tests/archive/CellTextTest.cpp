#include "CellText.h"
#include "TestData.h"

#include <gtest/gtest.h>

using namespace luvir;
using luvir::test::CellFields;
using luvir::test::makeCell;

namespace {

const QString dot = QStringLiteral(".");
const QString comma = QStringLiteral(",");

} // namespace

TEST(CellText, ZeroCellDecodesToTheFirstEntries)
{
    const ArchiveCell zero;
    EXPECT_EQ(strengthText(zero, dot), "0");
    EXPECT_EQ(directionText(zero), "↑");
    EXPECT_EQ(elementKindText(zero), "изделие");
    EXPECT_EQ(dependencyText(zero), "БАЗОВАЯ");
    EXPECT_EQ(kcText(zero, dot), "0.00");
    EXPECT_EQ(dateTimeText(zero), "00.00.2000 00:00:00");
    EXPECT_EQ(intermediateValuesLine(zero, dot), "Промежуточные значения: ");
}

TEST(CellText, StrengthShortestAndFixedForms)
{
    const struct {
        std::uint16_t word;
        const char *shortest;
        const char *fixed;
    } cases[] = {
        {253, "25.3", "25.3"}, {250, "25", "25.0"}, {5, "0.5", "0.5"},
        {0, "0", "0.0"},       {0xFFFF, "6553.5", "6553.5"}, {10000, "1000", "1000.0"},
    };
    for (const auto &c : cases) {
        const ArchiveCell cell = makeCell({.strength = c.word});
        EXPECT_EQ(strengthText(cell, dot), c.shortest) << c.word;
        EXPECT_EQ(strengthFixedText(cell, dot), c.fixed) << c.word;
    }
    EXPECT_EQ(strengthText(makeCell({.strength = 253}), comma), "25,3");
    EXPECT_EQ(strengthFixedText(makeCell({.strength = 250}), comma), "25,0");
}

TEST(CellText, IntermediateWordsPlainAndMarked)
{
    const struct {
        std::uint16_t word;
        const char *text;
        double value;
        bool marked;
    } cases[] = {
        {0x00FD, "25.3", 25.3, false}, {0x80FA, "25.0", 25.0, true},
        {0x8000, "3276.8", 3276.8, false}, {0x8001, "0.1", 0.1, true},
        {0xFFFF, "3276.7", 3276.7, true}, {0x0001, "0.1", 0.1, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(impactValueText(c.word, dot), c.text) << c.word;
        EXPECT_DOUBLE_EQ(impactValue(c.word), c.value) << c.word;
        EXPECT_EQ(isMarkedValue(c.word), c.marked) << c.word;
    }
}

TEST(CellText, KcWithTwoDecimals)
{
    const struct {
        std::uint8_t kc;
        const char *text;
    } cases[] = {{85, "0.85"}, {100, "1.00"}, {105, "1.05"}, {0, "0.00"}, {255, "2.55"}, {7, "0.07"}};
    for (const auto &c : cases)
        EXPECT_EQ(kcText(makeCell({.kc = c.kc}), dot), c.text) << int(c.kc);
    EXPECT_EQ(kcText(makeCell({.kc = 85}), comma), "0,85");
}

TEST(CellText, DateAndTimeArePaddedNotValidated)
{
    EXPECT_EQ(dateTimeText(makeCell({.second = 9, .minute = 5, .hour = 14, .day = 3, .month = 12, .year = 13})),
              "03.12.2013 14:05:09");
    EXPECT_EQ(dateTimeText(makeCell({.second = 255, .minute = 100, .hour = 99, .day = 45, .month = 13, .year = 200})),
              "45.13.20200 99:100:255");
}

TEST(CellText, CodesOutsideTheTablesGiveEmptyText)
{
    EXPECT_EQ(directionText(makeCell({.direction = 4})), "↓");
    EXPECT_EQ(directionText(makeCell({.direction = 5})), "");
    EXPECT_EQ(elementKindText(makeCell({.elementKind = 11})), "полы");
    EXPECT_EQ(elementKindText(makeCell({.elementKind = 12})), "");
    EXPECT_EQ(dependencyText(makeCell({.dependency = 9})), "ИНДИВИД.<9>");
    EXPECT_EQ(dependencyText(makeCell({.dependency = 10})), "");
    EXPECT_EQ(DirectionArrows.join(""), "↑↗→↘↓");
}

TEST(CellText, IntermediateLineSkipsZerosAndEndsEachValueWithSemicolon)
{
    const ArchiveCell cell = makeCell({.impacts = {0, 253, 0, 261, 0x8000 + 248}});
    EXPECT_EQ(intermediateValuesLine(cell, dot), "Промежуточные значения: 25.3; 26.1; 24.8; ");
    EXPECT_EQ(intermediateValuesLine(cell, comma), "Промежуточные значения: 25,3; 26,1; 24,8; ");
}
