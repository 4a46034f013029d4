// The report's spreadsheet and CSV read back by the programs our users open them with:
// openpyxl and LibreOffice, and Python's csv module. The files are written by luvir-cli
// under the C locale and under ru_RU.UTF-8, as users run it.
#include "MeasurementTable.h"
#include "ReadBackSupport.h"
#include "TestData.h"

#include <QJsonArray>
#include <QRandomGenerator>
#include <QStandardPaths>

using namespace luvir;
using namespace luvir::test;

namespace {

// What the spreadsheet must hold for the measurement in table row `number`: the number,
// Kc and strength as numbers in the form the table writes them (Kc two decimals, the
// strength one decimal or none, the number none); the other cells as the table's texts.
QJsonArray expectedSheetRow(const ArchiveCell &cell, int number, const QStringList &texts)
{
    QJsonArray row;
    for (int c = 0; c < kTableColumns; ++c) {
        if (c == 0) {
            row.append(numberCell(number, "0"));
        } else if (c == 5) {
            row.append(numberCell(cell.byte(ArchiveCell::Kc) / 100.0, "0.00"));
        } else if (c == 6) {
            const std::uint16_t tenths = cell.strengthWord();
            row.append(numberCell(tenths / 10.0, tenths % 10 == 0 ? "0" : "0.0"));
        } else {
            row.append(textCell(texts.at(c)));
        }
    }
    return row;
}

// Thirty cells of random bytes: codes outside the name tables, any strength and Kc.
CellArchive randomArchive()
{
    QRandomGenerator random(20261210);
    CellArchive archive;
    archive.Count = 30;
    for (int i = 0; i < archive.Count; ++i)
        for (std::uint8_t &byte : archive.Cells[static_cast<std::size_t>(i)].bytes)
            byte = static_cast<std::uint8_t>(random.bounded(256));
    return archive;
}

CellArchive readArchive(const QString &file)
{
    ArchiveImage image;
    ArchiveReader reader;
    EXPECT_EQ(reader.read(file, image), ArchiveReader::Status::Ok) << file.toStdString();
    return image.archive;
}

TEST_F(ReadBack, HandMadeArchiveInEveryFormat)
{
    const QString archive = writeArchive("hand.db", kHandMade);
    for (const UserLocale &locale : kLocales) {
        SCOPED_TRACE(locale.name);
        const QString stem = path(QStringLiteral("hand-%1").arg(locale.name));

        exportWithCli(archive, stem + ".xlsx", locale.name);
        const QJsonArray sheet = readBack("xlsx", stem + ".xlsx");
        ASSERT_EQ(sheet.size(), 2 + kHandMade.Count);
        expectTitleAndColumnTitles(sheet);
        for (int r = 0; r < kHandMade.Count; ++r)
            expectRow(
                sheet.at(2 + r).toArray(), kHandMadeSheetRows.at(r), QStringLiteral("row %1").arg(r + 1));

        exportWithCli(archive, stem + ".csv", locale.name);
        const QJsonArray csv = readBack("csv", stem + ".csv");
        ASSERT_EQ(csv.size(), 2 + kHandMade.Count);
        EXPECT_EQ(strings(csv.at(0)).value(0), "ЛЮВИР-2.07");
        EXPECT_EQ(strings(csv.at(1)), kColumnTitles);
        for (int r = 0; r < kHandMade.Count; ++r)
            EXPECT_EQ(strings(csv.at(2 + r)), handMadeTexts(r, locale)) << r;
    }
}

struct SampleArchive {
    QString name;
    CellArchive archive;
};

TEST_F(ReadBack, WholeArchivesLoadAndShowTheTableTexts)
{
    const QList<SampleArchive> samples = {
        {"random-30", randomArchive()},
        {"empty", readArchive(testDataPath("empty-v1.0.db"))},
        {"full-999", readArchive(testDataPath("full-999.db"))},
    };
    ASSERT_EQ(samples[2].archive.Count, 999);
    const QString soffice = QStandardPaths::findExecutable("soffice");
    for (const UserLocale &locale : kLocales) {
        SCOPED_TRACE(locale.name);
        QStringList spreadsheets;
        for (const SampleArchive &sample : samples) {
            SCOPED_TRACE(sample.name.toStdString());
            const QString archive = writeArchive(sample.name + ".db", sample.archive);
            const QString stem = path(QStringLiteral("%1-%2").arg(sample.name, locale.name));
            const MeasurementTable table = buildMeasurementTable(sample.archive, locale.separator);

            exportWithCli(archive, stem + ".xlsx", locale.name);
            spreadsheets << stem + ".xlsx";
            const QJsonArray sheet = readBack("xlsx", stem + ".xlsx");
            ASSERT_EQ(sheet.size(), 2 + sample.archive.Count);
            expectTitleAndColumnTitles(sheet);
            for (int r = 1; r < table.rowCount(); ++r)
                expectRow(sheet.at(1 + r).toArray(),
                    expectedSheetRow(
                        sample.archive.Cells[static_cast<std::size_t>(r - 1)], r, table.rows.at(r)),
                    QStringLiteral("row %1").arg(r));

            exportWithCli(archive, stem + ".csv", locale.name);
            const QJsonArray csv = readBack("csv", stem + ".csv");
            ASSERT_EQ(csv.size(), 1 + table.rowCount());
            for (int r = 0; r < table.rowCount(); ++r)
                EXPECT_EQ(strings(csv.at(1 + r)), table.rows.at(r)) << r;
        }
        if (soffice.isEmpty())
            continue;

        // What LibreOffice shows, saved as it shows it: ";" between fields, UTF-8.
        const QString shown = path(QStringLiteral("shown-%1").arg(locale.name));
        const ToolRun run = runTool(soffice,
            QStringList {"-env:UserInstallation=file://" + path("lo-profile"), "--headless", "--convert-to",
                "csv:Text - txt - csv (StarCalc):59,34,76,1", "--outdir", shown}
                + spreadsheets,
            locale.name);
        ASSERT_TRUE(run.ok()) << run.problem.toStdString();
        for (const SampleArchive &sample : samples) {
            SCOPED_TRACE(sample.name.toStdString());
            const QJsonArray rows
                = readBack("csv", QStringLiteral("%1/%2-%3.csv").arg(shown, sample.name, locale.name));
            const MeasurementTable table = buildMeasurementTable(sample.archive, locale.separator);
            ASSERT_EQ(rows.size(), 1 + table.rowCount());
            EXPECT_EQ(strings(rows.at(0)).value(0), "ЛЮВИР-2.07");
            for (int r = 0; r < table.rowCount(); ++r)
                EXPECT_EQ(strings(rows.at(1 + r)), table.rows.at(r)) << r;
        }
    }
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the shown texts were not checked";
}

} // namespace
