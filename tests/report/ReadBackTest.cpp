// The report's spreadsheet and CSV read back by the programs our users open them with:
// openpyxl and LibreOffice, and Python's csv module. The files are written by luvir-cli
// under the C locale and under ru_RU.UTF-8, as users run it. What they must hold is the
// hand-made archive's hand-worked texts, or a sample's reviewed report (tests/data), which
// the reference decoder reproduces apart from the program.
#include "ReadBackSupport.h"
#include "TestData.h"

#include <QJsonArray>
#include <QStandardPaths>

using namespace luvir;
using namespace luvir::test;

namespace {

// The rows of a sample's reviewed report (tests/data/NAME.report.LOCALE.csv), as
// Python's csv module reads them: the title, the column titles, one row per measurement.
QJsonArray reviewedReport(const QString &sample, const UserLocale &locale)
{
    const QString localeName = QString::fromLatin1(locale.name).section(QLatin1Char('.'), 0, 0);
    return readBack("csv", testDataPath(QStringLiteral("%1.report.%2.csv").arg(sample, localeName)));
}

// What the spreadsheet must hold for one measurement row of the reviewed report: the
// number, Kc and strength as numbers in the form the texts have them (Kc two decimals,
// the strength one decimal or none, the number none); the other cells as their texts.
// `plain` is the row under the C locale, where the numbers are read.
QJsonArray expectedSheetRow(const QStringList &plain, const QStringList &texts)
{
    QJsonArray row;
    for (int c = 0; c < texts.size(); ++c) {
        if (c == 0)
            row.append(numberCell(plain.at(c).toInt(), "0"));
        else if (c == 5)
            row.append(numberCell(plain.at(c).toDouble(), "0.00"));
        else if (c == 6)
            row.append(numberCell(plain.at(c).toDouble(), plain.at(c).contains('.') ? "0.0" : "0"));
        else
            row.append(textCell(texts.at(c)));
    }
    return row;
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

TEST_F(ReadBack, WholeArchivesLoadAndShowTheReviewedTexts)
{
    // Thirty cells of random bytes (codes outside the name tables, any strength and Kc),
    // none, and the full archive.
    const QStringList samples = {"random-30", "empty-v1.0", "full-999"};
    const QJsonArray plainRandom = reviewedReport("random-30", kLocales[0]);
    ASSERT_EQ(plainRandom.size(), 2 + 30);
    const QString soffice = QStandardPaths::findExecutable("soffice");
    for (const UserLocale &locale : kLocales) {
        SCOPED_TRACE(locale.name);
        QStringList spreadsheets;
        for (const QString &sample : samples) {
            SCOPED_TRACE(sample.toStdString());
            const QString archive = testDataPath(sample + ".db");
            const QString stem = path(QStringLiteral("%1-%2").arg(sample, locale.name));
            const QJsonArray reviewed = reviewedReport(sample, locale);
            const QJsonArray plain = reviewedReport(sample, kLocales[0]);
            ASSERT_GE(reviewed.size(), 2);
            ASSERT_EQ(plain.size(), reviewed.size());

            exportWithCli(archive, stem + ".xlsx", locale.name);
            spreadsheets << stem + ".xlsx";
            const QJsonArray sheet = readBack("xlsx", stem + ".xlsx");
            ASSERT_EQ(sheet.size(), reviewed.size());
            expectTitleAndColumnTitles(sheet);
            for (qsizetype r = 2; r < reviewed.size(); ++r)
                expectRow(sheet.at(r).toArray(), expectedSheetRow(strings(plain.at(r)), strings(reviewed.at(r))),
                    QStringLiteral("row %1").arg(r - 1));

            // Below the title, which holds the moment of the export, the reviewed rows.
            exportWithCli(archive, stem + ".csv", locale.name);
            const QJsonArray csv = readBack("csv", stem + ".csv");
            ASSERT_EQ(csv.size(), reviewed.size());
            EXPECT_EQ(strings(csv.at(0)).value(0), "ЛЮВИР-2.07");
            for (qsizetype r = 1; r < reviewed.size(); ++r)
                EXPECT_EQ(strings(csv.at(r)), strings(reviewed.at(r))) << r;
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
        for (const QString &sample : samples) {
            SCOPED_TRACE(sample.toStdString());
            const QJsonArray rows
                = readBack("csv", QStringLiteral("%1/%2-%3.csv").arg(shown, sample, locale.name));
            const QJsonArray reviewed = reviewedReport(sample, locale);
            ASSERT_EQ(rows.size(), reviewed.size());
            EXPECT_EQ(strings(rows.at(0)).value(0), "ЛЮВИР-2.07");
            for (qsizetype r = 1; r < reviewed.size(); ++r)
                EXPECT_EQ(strings(rows.at(r)), strings(reviewed.at(r))) << r;
        }
    }
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the shown texts were not checked";
}

} // namespace
