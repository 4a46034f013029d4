// Adding cells: each measurement once, every source remembered, removed ones not brought back.
#include "RegisterFixture.h"

#include <QSqlDatabase>
#include <QSqlQuery>

using namespace luvir;
using namespace luvir::test;

namespace {

// The number of measurements linked to each source, by the source's file name: read
// straight from the register with a connection of the test's own.
QMap<QString, int> cellsPerSource(const QString &location)
{
    QMap<QString, int> result;
    RawConnection raw(location);
    QSqlQuery query(raw.db());
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT s.file_name, count(ms.measurement_id) FROM sources s "
                                          "LEFT JOIN measurement_sources ms ON ms.source_id = s.id GROUP BY s.id")));
    while (query.next())
        result[query.value(0).toString()] += query.value(1).toInt();
    return result;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Engines, RegisterTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

TEST_P(RegisterTest, SameCellsTwiceAddNothingButTheSource)
{
    EXPECT_EQ(add(distinctCells(0, 999), "first.db"), (ImportCounts {999, 0, 0}));
    EXPECT_EQ(add(distinctCells(0, 999), "second.db"), (ImportCounts {0, 999, 0}));
    // Overlapping: 500 known, 100 new.
    EXPECT_EQ(add(distinctCells(499, 600), "third.db"), (ImportCounts {100, 500, 0}));

    EXPECT_EQ(reg.measurements(MeasurementSelection::all()).size(), 1099);
    EXPECT_EQ(reg.lastAddition(), (ImportCounts {100, 500, 0}));
    const QList<RegisterSource> sources = reg.sources();
    ASSERT_EQ(sources.size(), 3);
    EXPECT_EQ(sources.at(1).fileName, "second.db");
    reg.close();
    const QMap<QString, int> linked = cellsPerSource(registerPath());
    EXPECT_EQ(linked.value("first.db"), 999);
    EXPECT_EQ(linked.value("second.db"), 999);
    EXPECT_EQ(linked.value("third.db"), 600);
}

TEST_P(RegisterTest, TheSameCellTwiceInOneAdditionIsOneMeasurement)
{
    const QList<ArchiveCell> cells {distinctCell(1), distinctCell(2), distinctCell(1)};
    EXPECT_EQ(add(cells), (ImportCounts {2, 1, 0}));
    EXPECT_EQ(reg.measurements(MeasurementSelection::all()).size(), 2);
}

TEST_P(RegisterTest, RemovedMeasurementIsNotBroughtBackAndCountedApart)
{
    add(distinctCells(0, 5));
    const QList<RegisterId> all = ids(MeasurementSelection::all());
    ASSERT_TRUE(reg.markRemoved({all.at(1), all.at(3)}));
    EXPECT_EQ(ids(MeasurementSelection::all()), (QList<RegisterId> {all.at(0), all.at(2), all.at(4)}));
    EXPECT_EQ(add(distinctCells(0, 6), "again.db"), (ImportCounts {1, 3, 2}));
    EXPECT_EQ(reg.measurements(MeasurementSelection::all()).size(), 4);
    EXPECT_EQ(additionSummary({1, 3, 2}), "Журнал: добавлено 1, уже были 3, удалены ранее 2");
    EXPECT_EQ(additionSummary({300, 0, 0}), "Журнал: добавлено 300, уже были 0");
    // Removing twice, or an id the register does not hold, changes nothing.
    EXPECT_FALSE(reg.markRemoved({all.at(0), all.at(1)}));
    EXPECT_EQ(reg.measurements(MeasurementSelection::all()).size(), 4);
}

TEST_P(RegisterTest, ACellKeepsItsBytesAndTheSourceItsDetails)
{
    ArchiveCell odd = distinctCell(7);
    odd.bytes[ArchiveCell::Month] = 13; // a date no calendar has is still a measurement
    RegisterSource download;
    download.kind = RegisterSource::Kind::Download;
    download.addedAt = QDateTime(QDate(2026, 12, 10), QTime(9, 30, 0));
    download.version = {1, 0};
    download.serialNumber = "SIM-0001";
    ImportCounts counts;
    ASSERT_TRUE(reg.importCells({odd}, download, counts));
    const auto measurement = reg.measurement(ids(MeasurementSelection::all()).first());
    ASSERT_TRUE(measurement);
    EXPECT_EQ(measurement->cell, odd);
    EXPECT_EQ(measurement->firstSourceId, download.id);
    const auto source = reg.source(download.id);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->kind, RegisterSource::Kind::Download);
    EXPECT_EQ(source->serialNumber, "SIM-0001");
    EXPECT_EQ(source->addedAt, download.addedAt);
    EXPECT_EQ(sourceText(*source), "скачано 10.12.2026 09:30 (№ SIM-0001)");
    EXPECT_EQ(sourceText(fileSource("/data/objects/Дом 5.db")), "Дом 5.db");
}
