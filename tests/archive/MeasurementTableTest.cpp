#include "MeasurementTable.h"
#include "TestData.h"

#include <gtest/gtest.h>

using namespace luvir;
using luvir::test::sampleArchive;

namespace {
const QStringList kHeader {
    "№", "Дата и время", "Вид изделия", "Направление", "Зависимость", "Kc", "Прочность, МПа"};
} // namespace

TEST(MeasurementTable, RowsFollowTheCellsInOrder)
{
    CellArchive archive;
    archive.Count = 1;
    archive.Cells[0] = test::makeCell({.strength = 250,
        .direction = 2,
        .elementKind = 2,
        .dependency = 1,
        .kc = 105,
        .second = 9,
        .minute = 5,
        .hour = 14,
        .day = 3,
        .month = 12,
        .year = 13});
    const MeasurementTable table = buildMeasurementTable(archive, ",");
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.rows[0], kHeader);
    EXPECT_EQ(table.rows[1],
        (QStringList {"1", "03.12.2013 14:05:09", "колонна", "→", "ИНДИВИД.<1>", "1,05", "25"}));
}

TEST(MeasurementTable, EmptyAndFullArchives)
{
    EXPECT_EQ(buildMeasurementTable(CellArchive {}, ".").rowCount(), 1);
    const MeasurementTable full = buildMeasurementTable(sampleArchive(999), ".");
    ASSERT_EQ(full.rowCount(), 1000);
    EXPECT_EQ(full.text(0, 999), "999");
}

TEST(MeasurementTable, ColumnWidthRule)
{
    const struct {
        int table, column;
    } cases[] = {{697, 96}, {200, 25}, {32, 1}, {25, 0}, {10, 0}, {0, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(measurementColumnWidth(c.table), c.column) << c.table;
}

TEST(MeasurementTable, BlankingKeepsTheRowCountAndTheHeader)
{
    MeasurementTable table = buildMeasurementTable(sampleArchive(3), ".");
    blankDataRows(table);
    ASSERT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.rows[0], kHeader);
    EXPECT_EQ(table.rows[2], QStringList(7, QString()));
}

TEST(MeasurementTable, DeletionMovesRowsAndCellsTogether)
{
    CellArchive archive = sampleArchive(4);
    const CellArchive before = archive;
    MeasurementTable table = buildMeasurementTable(archive, ".");

    ASSERT_TRUE(deleteMeasurement(table, archive, 2));
    EXPECT_EQ(archive.Count, 3);
    EXPECT_EQ(archive.Cells[0], before.Cells[0]);
    EXPECT_EQ(archive.Cells[1], before.Cells[2]);
    EXPECT_EQ(archive.Cells[2], before.Cells[3]);
    ASSERT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.text(0, 1), "1");
    EXPECT_EQ(table.text(0, 2), "3");
    EXPECT_EQ(table.text(0, 3), "4");

    ASSERT_TRUE(deleteMeasurement(table, archive, 3)); // the last row
    EXPECT_EQ(archive.Count, 2);
    EXPECT_EQ(table.rowCount(), 3);
}

TEST(MeasurementTable, DeletionOutsideTheTableChangesNothing)
{
    CellArchive archive = sampleArchive(1);
    MeasurementTable table = buildMeasurementTable(archive, ".");
    for (int row : {0, 2, -1})
        EXPECT_FALSE(deleteMeasurement(table, archive, row)) << row;
    ASSERT_TRUE(deleteMeasurement(table, archive, 1));
    EXPECT_EQ(archive.Count, 0);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_FALSE(deleteMeasurement(table, archive, 1));
}

TEST(MeasurementTable, RowsShowTheirMeasurementsThroughDeletionAndBlanking)
{
    CellArchive archive = sampleArchive(4);
    const CellArchive before = archive;
    MeasurementTable table = buildMeasurementTable(archive, ".");
    ASSERT_TRUE(deleteMeasurement(table, archive, 2));

    // Row r shows measurement r - 1: the number of its "№" and the cell the meter stored.
    const struct {
        int number;
        std::size_t cell;
    } expected[] = {{1, 0}, {3, 2}, {4, 3}};
    ASSERT_EQ(table.measurements.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(table.measurements[i].number, expected[i].number) << i;
        EXPECT_EQ(table.measurements[i].cell, before.Cells[expected[i].cell]) << i;
    }
    EXPECT_EQ(shownMeasurements(table), table.measurements);

    // Blank rows show no measurement; the measurements behind them stay.
    blankDataRows(table);
    EXPECT_TRUE(shownMeasurements(table).isEmpty());
    EXPECT_EQ(table.measurements.size(), 3);
}
