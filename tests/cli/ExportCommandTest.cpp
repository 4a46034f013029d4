// export: the report of each sample as the preview exports it.
#include "CliFixture.h"
#include "Golden.h"
#include "SmallFilesystem.h"
#include "TestData.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>

using namespace luvir;
using namespace luvir::cli;
using namespace luvir::cli::test;
using luvir::test::testDataPath;
using luvir::test::testErrorsPath;

namespace {

bool isPdf(const QByteArray &bytes)
{
    return bytes.startsWith("%PDF-");
}

// A spreadsheet is a zip archive holding at least one worksheet.
bool isXlsx(const QByteArray &bytes)
{
    return bytes.startsWith("PK\x03\x04") && bytes.contains("xl/worksheets/sheet1.xml");
}

// The text of a PDF as poppler reads it; empty when pdftotext fails.
QString pdfText(const QString &file)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), file, "-"});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// One member of a zip archive as Python's zipfile reads it; empty when it cannot.
QString zipEntryText(const QString &file, const QString &entry)
{
    QProcess process;
    const char *script = "import sys, zipfile\n"
                         "sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))";
    process.start(QStringLiteral("python3"), {"-c", script, file, entry});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

class ExportCommand : public CliTest
{
};

TEST_F(ExportCommand, CsvOfEverySampleIsTheReviewedReport)
{
    const QStringList samples = archiveNamesIn(testDataPath({}));
    ASSERT_FALSE(samples.isEmpty());
    for (const QString &name : samples) {
        for (const GoldenLocale &l : kGoldenLocales) {
            SCOPED_TRACE((name + " " + l.name).toStdString());
            separator = l.separator;
            locale = l.locale;
            const QString out = path(name + ".csv");
            EXPECT_EQ(run({"export", testDataPath(name + ".db"), out}), kExitOk);
            EXPECT_EQ(console.stdoutText, QString());
            EXPECT_EQ(console.stderrText, QString());
            EXPECT_TRUE(matchesGolden(readBytes(out), testDataPath(name + ".report." + l.name + ".csv")));
        }
    }
}

TEST_F(ExportCommand, TheSuffixChoosesTheFormat)
{
    const QString archive = testDataPath("seven-cells.db");
    EXPECT_EQ(run({"export", archive, path("r.pdf")}), kExitOk);
    EXPECT_EQ(console.stderrText, QString());
    EXPECT_TRUE(isPdf(readBytes(path("r.pdf"))));
    ASSERT_FALSE(QStandardPaths::findExecutable("pdftotext").isEmpty())
        << "pdftotext (poppler-utils) is missing";
    const QString text = pdfText(path("r.pdf"));
    for (const char *expected :
        {"ЛЮВИР-2.07", "10.12.2026 14:05:09", "Прочность, МПа", "ИНДИВИД.<6>", "22,2"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << " in\n" << text.toStdString();

    EXPECT_EQ(run({"export", archive, path("r.xlsx")}), kExitOk);
    EXPECT_EQ(console.stderrText, QString());
    EXPECT_TRUE(isXlsx(readBytes(path("r.xlsx"))));
    // The spreadsheet is dated like its title: the moment of the export, however late it is written.
    const QString created = kReportMoment.toUTC().toString(Qt::ISODate);
    EXPECT_TRUE(zipEntryText(path("r.xlsx"), "docProps/core.xml").contains(created)) << created.toStdString();
}

TEST_F(ExportCommand, RefusedFileWritesNothing)
{
    const QString out = path("bad.pdf");
    EXPECT_EQ(run({"export", testErrorsPath("crc-truncated.db"), out}), kExitFailed);
    EXPECT_EQ(console.stderrText, QStringLiteral("Ошибка файла CRC\n"));
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(ExportCommand, UnwritableTargetIsToldAndKeepsNoPartialFile)
{
    const QString out = path("no/such/folder/r.csv");
    EXPECT_EQ(run({"export", testDataPath("one-cell.db"), out}), kExitFailed);
    EXPECT_TRUE(console.stderrText.startsWith(out + ": ")) << console.stderrText.toStdString();
    EXPECT_FALSE(QFile::exists(path("no")));
}

TEST_F(ExportCommand, ADiskThatFillsPartWayIsToldWithTheFileAndItsReason)
{
    luvir::test::SmallFilesystem disk;
    LUVIR_NEED_SMALL_FILESYSTEM(disk);
    for (const QString format : {"pdf", "xlsx", "csv"}) {
        SCOPED_TRACE(format.toStdString());
        const QString out = disk.filePath("report." + format);
        ASSERT_TRUE(writeBytes(out, "earlier report"));
        ASSERT_TRUE(disk.leaveFree(4096)); // the report of 300 measurements is longer in every format
        EXPECT_EQ(run({"export", testDataPath("sample-300.db"), out}), kExitFailed);
        EXPECT_TRUE(console.stderrText.startsWith(out + ": ")) << console.stderrText.toStdString();
        EXPECT_TRUE(luvir::test::endsInSystemReason(console.stderrText.trimmed(), ENOSPC))
            << console.stderrText.toStdString();
        EXPECT_EQ(readBytes(out), "earlier report");
        EXPECT_EQ(disk.files(), QStringList {"report." + format}) << "no partial file may remain";
        QFile::remove(out);
    }
}

TEST_F(ExportCommand, FolderOfArchivesGoesOnPastARefusedOne)
{
    const QStringList inputs {testDataPath("one-cell.db"), testErrorsPath("stage1-count-lowered.db"),
        testDataPath("seven-cells.db"), testErrorsPath("crc-lengthened.db"), testDataPath("empty-v1.0.db")};
    const QString outDir = path("reports/xlsx"); // made on the way
    EXPECT_EQ(run(QStringList {"export", "--out-dir", outDir, "--format", "xlsx"} + inputs), kExitFailed);
    EXPECT_TRUE(console.stdoutText.isEmpty());
    EXPECT_EQ(console.stderrText,
        QStringLiteral("Not converted:\n%1: Ошибка размера файла стадия 1\n%2: Ошибка файла CRC\n")
            .arg(inputs[1], inputs[3]));
    EXPECT_EQ(QDir(outDir).entryList(QDir::Files, QDir::Name),
        (QStringList {"empty-v1.0.xlsx", "one-cell.xlsx", "seven-cells.xlsx"}));
    EXPECT_TRUE(isXlsx(readBytes(outDir + "/seven-cells.xlsx")));

    // All good: exit 0, nothing on standard error.
    EXPECT_EQ(run({"export", "--format=csv", "--out-dir=" + outDir, inputs[0], inputs[2]}), kExitOk);
    EXPECT_TRUE(console.stderrText.isEmpty());
    EXPECT_TRUE(
        matchesGolden(readBytes(outDir + "/seven-cells.csv"), testDataPath("seven-cells.report.ru_RU.csv")));
    EXPECT_TRUE(
        matchesGolden(readBytes(outDir + "/one-cell.csv"), testDataPath("one-cell.report.ru_RU.csv")));
}

TEST_F(ExportCommand, TwoInputsOfOneNameAreRefusedBeforeAnythingIsWritten)
{
    ASSERT_TRUE(QDir().mkpath(path("a")));
    ASSERT_TRUE(QFile::copy(testDataPath("one-cell.db"), path("a/seven-cells.db")));
    EXPECT_EQ(run({"export", "--out-dir", path("out"), "--format", "pdf", testDataPath("seven-cells.db"),
                  path("a/seven-cells.db")}),
        kExitUsage);
    EXPECT_EQ(console.stderrText.count('\n'), 1);
    EXPECT_FALSE(QFile::exists(path("out")));
}

} // namespace
