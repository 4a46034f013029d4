// Groups by element kind, the mark of mixed calibrations, ranges of numbers, deletions,
// and the table's texts (clipboard and CSV).
#include "CsvDocument.h"
#include "SeriesGroups.h"
#include "SeriesTable.h"
#include "StatsTestData.h"

#include <gtest/gtest.h>

using namespace luvir;
using namespace luvir::test;

namespace {

QStringList namesOf(const QList<SeriesGroup> &groups)
{
    QStringList names;
    for (const SeriesGroup &g : groups)
        names << g.name + QStringLiteral(" ") + QString::number(g.figures.count);
    return names;
}

TEST(SeriesGroups, OneGroupPerKindInOrderOfFirstAppearance)
{
    // Kinds колонна, изделие, колонна, (none: code 12), изделие, свая.
    const CellArchive archive = archiveOf({
        {.strength = 200, .elementKind = 2},
        {.strength = 210, .elementKind = 0},
        {.strength = 220, .elementKind = 2},
        {.strength = 230, .elementKind = 12},
        {.strength = 240, .elementKind = 0},
        {.strength = 250, .elementKind = 10},
    });
    const QList<Measurement> measurements = measurementsOf(archive);

    EXPECT_EQ(
        namesOf(seriesGroups(measurements, SeriesGrouping::None, ".")), QStringList {"Все измерения 6"});
    const QList<SeriesGroup> groups = seriesGroups(measurements, SeriesGrouping::ElementKind, ".");
    EXPECT_EQ(
        namesOf(groups), (QStringList {"Все измерения 6", "колонна 2", "изделие 2", "без вида 1", "свая 1"}));
    // колонна: 20.0 and 22.0 → Rm 21.0, Sm √2 = 1.414…, Vm 6.734…
    EXPECT_EQ(seriesGroupFields(groups.at(1), ",", true),
        (QStringList {"колонна", "2", "20", "22", "21,0", "1,4", "6,7"}));
}

struct MixCase {
    const char *what;
    std::vector<CellFields> cells;
    const char *reason; // empty: nothing mixed
};

const MixCase kMixes[] = {
    {"one dependency, one Kc",
        {{.strength = 250, .dependency = 3, .kc = 95}, {.strength = 260, .dependency = 3, .kc = 95}}, ""},
    {"two dependencies",
        {{.strength = 250, .dependency = 0, .kc = 100}, {.strength = 260, .dependency = 2, .kc = 100}},
        "смешаны зависимости (БАЗОВАЯ; ИНДИВИД.<2>): прочность вычислена по разным градуировкам"},
    {"two Kc values",
        {{.strength = 250, .kc = 100}, {.strength = 260, .kc = 95}, {.strength = 270, .kc = 100}},
        "смешаны Kc (1,00; 0,95): прочность вычислена по разным градуировкам"},
    {"both, with more values than are named",
        {{.dependency = 1, .kc = 81}, {.dependency = 2, .kc = 82}, {.dependency = 3, .kc = 83},
            {.dependency = 4, .kc = 84}, {.dependency = 5, .kc = 85}, {.dependency = 5, .kc = 86},
            {.dependency = 12, .kc = 81}},
        "смешаны зависимости (ИНДИВИД.<1>; ИНДИВИД.<2>; ИНДИВИД.<3>; ИНДИВИД.<4> и ещё 2) и "
        "Kc (0,81; 0,82; 0,83; 0,84 и ещё 2): прочность вычислена по разным градуировкам"},
};

TEST(SeriesGroups, AGroupThatMixesCalibrationsIsMarked)
{
    for (const MixCase &c : kMixes) {
        SCOPED_TRACE(c.what);
        const SeriesGroup group
            = seriesGroups(measurementsOf(archiveOf(c.cells)), SeriesGrouping::None, ",").first();
        const QString reason = QString::fromUtf8(c.reason);
        EXPECT_EQ(group.mixesCalibrations(), !reason.isEmpty());
        EXPECT_EQ(mixedCalibrationReason(group), reason);
        EXPECT_EQ(seriesGroupFields(group, ",", true).first(),
            reason.isEmpty() ? QStringLiteral("Все измерения") : QStringLiteral("Все измерения!"));
        EXPECT_EQ(seriesGroupFields(group, ",", false).first(), "Все измерения");
    }
}

TEST(SeriesGroups, OnlyTheGroupThatMixesIsMarked)
{
    // The kinds differ in Kc, each kind alone is uniform.
    const CellArchive archive = archiveOf({
        {.strength = 250, .elementKind = 2, .kc = 100},
        {.strength = 260, .elementKind = 3, .kc = 90},
        {.strength = 270, .elementKind = 2, .kc = 100},
    });
    const QList<SeriesGroup> groups = seriesGroups(measurementsOf(archive), SeriesGrouping::ElementKind, ".");
    const QList<QStringList> lines = seriesTableLines(groups, ".", {"t"});
    EXPECT_EQ(tabSeparated(lines),
        "t\n"
        "Все измерения!\t3\t25\t27\t26.0\t1.0\t3.8\n"
        "колонна\t2\t25\t27\t26.0\t1.4\t5.4\n"
        "балка\t1\t26\t26\t26.0\t—\t—\n");
}

TEST(SeriesRange, NumbersAsTheTableShowsThemAfterDeletions)
{
    // Six measurements 21.0 … 26.0; the third and the fifth are deleted as the window does.
    CellArchive archive = archiveOfStrengths({210, 220, 230, 240, 250, 260});
    MeasurementTable table = buildMeasurementTable(archive, ",");
    ASSERT_TRUE(deleteMeasurement(table, archive, 3));
    ASSERT_TRUE(deleteMeasurement(table, archive, 4)); // № 5, now in row 4
    const QList<Measurement> shown = shownMeasurements(table);

    QList<int> numbers;
    for (const Measurement &m : shown)
        numbers << m.number;
    EXPECT_EQ(numbers, (QList<int> {1, 2, 4, 6}));

    // All: 21, 22, 24, 26 → Rm 23.25 → 23.3, Sm 2.217…, Vm 9.536…
    EXPECT_EQ(seriesGroupFields(seriesGroup(kAllRowsGroup, shown, ","), ",", false),
        (QStringList {"Все измерения", "4", "21", "26", "23,3", "2,2", "9,5"}));
    // № 2 to 5: 22 and 24 remain.
    const SeriesGroup twoToFive = seriesGroup(kAllRowsGroup, measurementsNumbered(shown, 2, 5), ",");
    EXPECT_EQ(seriesGroupFields(twoToFive, ",", false),
        (QStringList {"Все измерения", "2", "22", "24", "23,0", "1,4", "6,1"}));
    // A range holding only deleted numbers is empty.
    EXPECT_EQ(measurementsNumbered(shown, 3, 3).size(), 0);
    EXPECT_EQ(measurementsNumbered(shown, 5, 5).size(), 0);
}

TEST(SeriesRange, BlankedRowsAreNoMeasurements)
{
    // While the download dialog runs the table's rows are blank, the archive unchanged:
    // the statistics see no measurement, not the cells the table no longer shows.
    const CellArchive archive = archiveOfStrengths({210, 220, 230});
    MeasurementTable table = buildMeasurementTable(archive, ",");
    blankDataRows(table);
    const QList<Measurement> shown = shownMeasurements(table);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(seriesGroupFields(seriesGroup(kAllRowsGroup, shown, ","), ",", false),
        (QStringList {"Все измерения", "0", "—", "—", "—", "—", "—"}));
}

TEST(SeriesTable, ClipboardAndCsvTexts)
{
    const CellArchive archive = archiveOf({
        {.strength = 253, .elementKind = 2, .dependency = 0, .kc = 100},
        {.strength = 250, .elementKind = 2, .dependency = 1, .kc = 100},
    });
    const QList<SeriesGroup> groups = seriesGroups(measurementsOf(archive), SeriesGrouping::None, ",");
    const QList<QStringList> lines = seriesTableLines(groups, ",", SeriesColumnTitles);

    EXPECT_EQ(tabSeparated(lines),
        "Группа\tn\tRmin\tRmax\tRm\tSm\tVm, %\n"
        "Все измерения!\t2\t25\t25,3\t25,2\t0,2\t0,8\n");
    const QByteArray csv = csvDocument(lines);
    EXPECT_EQ(csv,
        QByteArray("\xEF\xBB\xBF")
            + QStringLiteral("Группа;n;Rmin;Rmax;Rm;Sm;Vm, %\r\n"
                             "Все измерения!;2;25;25,3;25,2;0,2;0,8\r\n")
                  .toUtf8());
}

} // namespace
