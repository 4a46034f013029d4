#include "CliFixture.h"
#include "MeasurementReport.h"
#include "MeasurementTable.h"
#include "ReportExporter.h"
#include "TestData.h"
#include "XlsxExporter.h"

#include <QDir>
#include <QRegularExpression>

using namespace luvir;
using namespace luvir::cli;
using namespace luvir::cli::test;
using luvir::test::testDataPath;
using luvir::test::testErrorsPath;

namespace {

// A PDF names the moment it was written; everything else depends on the report alone.
QByteArray withoutCreationDate(const QByteArray &pdf)
{
    return QString::fromLatin1(pdf)
        .remove(QRegularExpression(QStringLiteral("/CreationDate \\(D:[^)]*\\)")))
        .toLatin1();
}

// What the exporter writes for the archive's report made at the tests' moment, with
// the decimal comma.
QByteArray referenceExport(const QString &archiveFile, const QString &format, const QString &target)
{
    ArchiveImage image;
    ArchiveReader reader;
    if (reader.read(archiveFile, image) != ArchiveReader::Status::Ok)
        return {};
    const MeasurementTable table = buildMeasurementTable(image.archive, QStringLiteral(","));
    const PreparedReport report = prepareMeasurementReport(table, kReportMoment, kRussianLocale);
    for (const auto &exporter : createReportExporters()) {
        if (exporter->defaultSuffix() != format)
            continue;
        if (auto *spreadsheet = dynamic_cast<XlsxExporter *>(exporter.get()))
            spreadsheet->setCreationTime(kReportMoment);
        if (exporter->save(report, target))
            return readBytes(target);
    }
    return {};
}

QByteArray comparable(const QByteArray &bytes, const QString &format)
{
    return format == "pdf" ? withoutCreationDate(bytes) : bytes;
}

class ExportCommand : public CliTest
{
};

TEST_F(ExportCommand, WritesWhatTheExporterWritesForTheSameReport)
{
    for (const QString &format : {QStringLiteral("pdf"), QStringLiteral("xlsx"), QStringLiteral("csv")}) {
        SCOPED_TRACE(format.toStdString());
        const QString archive = testDataPath("sample-300.db");
        const QString out = path("out." + format);
        EXPECT_EQ(run({"export", archive, out}), kExitOk);
        EXPECT_TRUE(console.stdoutText.isEmpty());
        EXPECT_TRUE(console.stderrText.isEmpty()) << console.stderrText.toStdString();
        const QByteArray expected = referenceExport(archive, format, path("reference." + format));
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(comparable(readBytes(out), format), comparable(expected, format));
    }
    // The title carries the moment of the export and the numbers the given separator.
    ASSERT_EQ(run({"export", testDataPath("seven-cells.db"), path("seven.csv")}), kExitOk);
    const QString csv = QString::fromUtf8(readBytes(path("seven.csv")));
    EXPECT_TRUE(csv.contains(QStringLiteral("10.12.2026 14:05:09"))) << csv.toStdString();
    EXPECT_TRUE(csv.contains(QStringLiteral(";0,80;"))) << csv.toStdString();
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
    EXPECT_EQ(
        readBytes(outDir + "/seven-cells.xlsx"), referenceExport(inputs[2], "xlsx", path("reference.xlsx")));

    // All good: exit 0, nothing on standard error.
    EXPECT_EQ(run({"export", "--format=csv", "--out-dir=" + outDir, inputs[0], inputs[2]}), kExitOk);
    EXPECT_TRUE(console.stderrText.isEmpty());
    EXPECT_TRUE(QFile::exists(outDir + "/seven-cells.csv"));
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
