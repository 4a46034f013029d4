#include "CsvExporter.h"
#include "FileSizeLimit.h"
#include "SmallFilesystem.h"
#include "MeasurementReport.h"
#include "PdfExporter.h"
#include "ReportTestData.h"
#include "XlsxExporter.h"
#include "ZipEntries.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cerrno>

using namespace luvir;
using luvir::test::kPrintMoment;
using luvir::test::kRussianLocale;
using luvir::test::sampleTable;
using luvir::test::tableOf;

namespace {

// The report's column titles, as the window's table heads its columns.
const QStringList kColumnTitles {
    "№", "Дата и время", "Вид изделия", "Направление", "Зависимость", "Kc", "Прочность, МПа"};

PreparedReport prepare(const MeasurementTable &table)
{
    return prepareMeasurementReport(table, kPrintMoment, kRussianLocale);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeText(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The text of a PDF as pdftotext reads it, page by page (form feeds between pages).
QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
        {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
            QStringLiteral("-")});
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The cells of the first sheet of a spreadsheet: "A1" -> its shared text, or for a number
// cell the number as stored ("25.3").
QMap<QString, QString> sheetCells(const QByteArray &xlsx)
{
    const QMap<QString, QByteArray> files = test::readZipEntries(xlsx);
    QStringList shared;
    QXmlStreamReader strings(files.value(QStringLiteral("xl/sharedStrings.xml")));
    while (!strings.atEnd())
        if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == u"t")
            shared.append(strings.readElementText());
    QMap<QString, QString> cells;
    QXmlStreamReader sheet(files.value(QStringLiteral("xl/worksheets/sheet1.xml")));
    QString ref;
    bool sharedText = false;
    while (!sheet.atEnd()) {
        if (sheet.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (sheet.name() == u"c") {
            ref = sheet.attributes().value(QStringLiteral("r")).toString();
            sharedText = sheet.attributes().value(QStringLiteral("t")) == u"s";
        } else if (sheet.name() == u"v") {
            const QString value = sheet.readElementText();
            cells.insert(ref, sharedText ? shared.value(value.toInt()) : value);
        }
    }
    return cells;
}

} // namespace

TEST(CsvExport, BytesOfASmallTable)
{
    const MeasurementTable table = tableOf({
        {"1", "03.12.2013 14:05:09", "колонна", "→", "ИНДИВИД.<1>", "1,05", "25"},
        {"2", "04.12.2013 08:00:00", "свая", "↘", "БАЗОВАЯ", "0,95", "31,4"},
    });
    const QByteArray expected = QByteArray("\xEF\xBB\xBF")
        + QStringLiteral("ЛЮВИР-2.07;10.12.2026 14:05:09\r\n"
                         "№;Дата и время;Вид изделия;Направление;Зависимость;Kc;Прочность, МПа\r\n"
                         "1;03.12.2013 14:05:09;колонна;→;ИНДИВИД.<1>;1,05;25\r\n"
                         "2;04.12.2013 08:00:00;свая;↘;БАЗОВАЯ;0,95;31,4\r\n")
              .toUtf8();
    EXPECT_EQ(reportCsv(prepare(table)), expected);
}

TEST(CsvExport, FieldsKeepTheirLineWhole)
{
    const struct {
        QString text, field;
    } cases[] = {
        {"a;b", "\"a;b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "twolines"},
        {"tab\there", "tabhere"},
        {QStringLiteral("bell\u0007\u0085"), "bell"},
        {"plain, comma", "plain, comma"},
    };
    for (const auto &c : cases) {
        const QByteArray csv = reportCsv(prepare(tableOf({{c.text, "", "", "", "", "", "x"}})));
        const QStringList lines = QString::fromUtf8(csv.mid(3)).split("\r\n");
        ASSERT_EQ(lines.size(), 4) << c.text.toStdString(); // title, titles, row, empty
        EXPECT_EQ(lines[2], c.field + ";;;;;;x");
    }
}

TEST(CsvExport, HeaderOnlyTableGivesTitleAndTitlesLine)
{
    const QStringList lines = QString::fromUtf8(reportCsv(prepare(sampleTable(0))).mid(3)).split("\r\n");
    EXPECT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("ЛЮВИР-2.07;"));
    EXPECT_EQ(lines[1], kColumnTitles.join(';'));
}

class FileExport : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(FileExport, SpreadsheetHoldsTheWholeReport)
{
    const MeasurementTable table = sampleTable(5);
    XlsxExporter exporter;
    const ExportOptions fixedTime {.created = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC)};
    ASSERT_TRUE(exporter.save(prepare(table), path("a.xlsx"), fixedTime))
        << exporter.errorString().toStdString();
    const QByteArray bytes = readAll(path("a.xlsx"));
    const QMap<QString, QString> cells = sheetCells(bytes);
    EXPECT_EQ(cells.value("A1"), "ЛЮВИР-2.07");
    EXPECT_EQ(cells.value("G1"), "10.12.2026 14:05:09");
    const QString columns = "ABCDEFG";
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < kTableColumns; ++c) {
            const QString cell = cells.value(columns[c] + QString::number(r + 2));
            const QString &text = table.rows[r][c];
            // The number, Kc and strength of a measurement are numbers, stored with a point.
            if (r > 0 && (c == 0 || c == 5 || c == 6))
                EXPECT_EQ(cell.toDouble(), QString(text).replace(',', '.').toDouble()) << r << " " << c;
            else
                EXPECT_EQ(cell, text) << r << " " << c;
        }
    }
    EXPECT_EQ(cells.size(), 2 + 7 * table.rowCount());
    EXPECT_TRUE(test::readZipEntries(bytes).value("docProps/core.xml").contains("2026-01-02T03:04:05Z"));

    // A fixed creation time makes the file depend on the report alone.
    ASSERT_TRUE(exporter.save(prepare(table), path("b.xlsx"), fixedTime));
    EXPECT_EQ(readAll(path("b.xlsx")), bytes);
}

TEST_F(FileExport, SpreadsheetKeepsThePageBreaks)
{
    XlsxExporter exporter;
    ASSERT_TRUE(exporter.save(prepare(sampleTable(120)), path("long.xlsx")));
    const QByteArray sheet
        = test::readZipEntries(readAll(path("long.xlsx"))).value("xl/worksheets/sheet1.xml");
    // Page 2 starts with sheet row 54 (title, titles and 51 rows on page 1), page 3 with row 108.
    EXPECT_TRUE(sheet.contains(
        "<rowBreaks count=\"2\" manualBreakCount=\"2\"><brk id=\"53\" max=\"16383\" man=\"1\"/>"
        "<brk id=\"107\" max=\"16383\" man=\"1\"/></rowBreaks>"))
        << sheet.right(600).toStdString();
    EXPECT_TRUE(sheet.contains("paperSize=\"9\""));
}

TEST_F(FileExport, SpreadsheetCellsHoldOnlyWhatACellMay)
{
    const QString longText(40000, u'ж');
    XlsxExporter exporter;
    ASSERT_TRUE(
        exporter.save(prepare(tableOf({{QStringLiteral("a\u0001b\uFFFEc"), longText, "", "", "", "", ""}})),
            path("odd.xlsx")))
        << exporter.errorString().toStdString();
    const QMap<QString, QString> cells = sheetCells(readAll(path("odd.xlsx")));
    EXPECT_EQ(cells.value("A3"), "abc");
    EXPECT_EQ(cells.value("B3"), QString(32767, u'ж'));
}

TEST_F(FileExport, PdfHasSelectableTextOnA4Pages)
{
    const MeasurementTable table = sampleTable(120);
    PdfExporter exporter;
    ASSERT_TRUE(exporter.save(prepare(table), path("r.pdf"))) << exporter.errorString().toStdString();
    const QString text = pdfText(path("r.pdf"));
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 3); // 52 + 54 + 15 lines
    EXPECT_TRUE(pages[0].contains("ЛЮВИР-2.07"));
    EXPECT_TRUE(pages[0].contains("10.12.2026 14:05:09"));
    EXPECT_FALSE(pages[1].contains("ЛЮВИР-2.07"));
    for (const QString &title : kColumnTitles)
        EXPECT_TRUE(pages[0].contains(title)) << title.toStdString();
    for (const char *arrow : {"↑", "↗", "→", "↘", "↓"})
        EXPECT_TRUE(pages[0].contains(arrow)) << arrow;
    EXPECT_TRUE(pages[0].contains(table.rows[1][2]));
    EXPECT_TRUE(pages[2].contains(table.rows[120][1]));

    QProcess info;
    info.start("pdfinfo", {path("r.pdf")});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QByteArray pdfInfo = info.readAllStandardOutput();
    EXPECT_TRUE(pdfInfo.contains("pts (A4)")) << pdfInfo.toStdString();
}

TEST_F(FileExport, ExistingFilesAreReplacedAndFailuresReported)
{
    const PreparedReport report = prepare(sampleTable(3));
    for (const auto &exporter : createReportExporters()) {
        const QString target = path("old." + exporter->defaultSuffix());
        ASSERT_TRUE(writeText(target, "old contents"));
        EXPECT_TRUE(exporter->save(report, target)) << exporter->name().toStdString();
        EXPECT_FALSE(readAll(target).startsWith("old contents"));
        EXPECT_TRUE(exporter->errorString().isEmpty());

        EXPECT_FALSE(exporter->save(report, path("missing/folder/r." + exporter->defaultSuffix())));
        EXPECT_FALSE(exporter->errorString().isEmpty()) << exporter->name().toStdString();
        EXPECT_FALSE(QFile::exists(path("missing")));
    }
}

TEST_F(FileExport, AFullDiskKeepsTheEarlierFile)
{
    const PreparedReport report = prepare(sampleTable(40));
    for (const auto &exporter : createReportExporters()) {
        const QString target = path("kept." + exporter->defaultSuffix());
        ASSERT_TRUE(writeText(target, "earlier export"));
        bool saved = true;
        {
            test::FileSizeLimit limit(1000); // every export of 40 rows is longer
            saved = exporter->save(report, target);
        }
        EXPECT_FALSE(saved) << exporter->name().toStdString();
        // The write past the limit stores part of the file; the next one says why not more.
        EXPECT_TRUE(test::endsInSystemReason(exporter->errorString(), EFBIG))
            << exporter->name().toStdString() << ": " << exporter->errorString().toStdString();
        EXPECT_EQ(readAll(target), "earlier export") << exporter->name().toStdString();
        const QString name = "kept." + exporter->defaultSuffix();
        EXPECT_EQ(
            QDir(dir.path()).entryList({name + "*", "." + name + "*"}, QDir::Files | QDir::Hidden).size(), 1)
            << "no partial file may remain";
    }
}

TEST(ReportExporters, ADiskThatFillsPartWayIsToldWithItsReason)
{
    test::SmallFilesystem disk;
    LUVIR_NEED_SMALL_FILESYSTEM(disk);
    const PreparedReport report = prepare(sampleTable(300)); // every export of it is longer than 4 KiB
    for (const auto &exporter : createReportExporters()) {
        const QString target = disk.filePath("kept." + exporter->defaultSuffix());
        ASSERT_TRUE(writeText(target, "earlier export"));
        ASSERT_TRUE(disk.leaveFree(4096));
        EXPECT_FALSE(exporter->save(report, target)) << exporter->name().toStdString();
        EXPECT_TRUE(test::endsInSystemReason(exporter->errorString(), ENOSPC))
            << exporter->name().toStdString() << ": " << exporter->errorString().toStdString();
        EXPECT_EQ(readAll(target), "earlier export") << exporter->name().toStdString();
        EXPECT_EQ(disk.files(), QStringList {"kept." + exporter->defaultSuffix()}) << "no partial file may remain";
        QFile::remove(target);
    }
}

// The spreadsheet library writes its parts and the workbook into a scratch folder first;
// a temporary folder that fills tells the system's reason too, not the library's.
TEST(ReportExporters, ASpreadsheetsScratchFolderThatFillsIsToldWithItsReason)
{
    test::SmallFilesystem disk;
    LUVIR_NEED_SMALL_FILESYSTEM(disk);
    QTemporaryDir dir;
    const QString target = dir.filePath("kept.xlsx");
    ASSERT_TRUE(writeText(target, "earlier export"));
    ASSERT_TRUE(disk.leaveFree(4096));
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(disk.path()));
    XlsxExporter exporter;
    const bool saved = exporter.save(prepare(sampleTable(300)), target);
    if (previous.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", previous);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(test::endsInSystemReason(exporter.errorString(), ENOSPC)) << exporter.errorString().toStdString();
    EXPECT_EQ(readAll(target), "earlier export");
    EXPECT_TRUE(disk.files().isEmpty()) << disk.files().join(' ').toStdString();
}

TEST(ReportExporters, RegistryOffersEveryFormatOnce)
{
    QStringList names, suffixes, filters;
    for (const auto &exporter : createReportExporters()) {
        names << exporter->name();
        suffixes << exporter->defaultSuffix();
        filters << exporter->fileFilter();
        EXPECT_TRUE(exporter->fileFilter().contains("*." + exporter->defaultSuffix()));
    }
    EXPECT_EQ(names, (QStringList {"Документ PDF", "Электронная таблица", "Текст CSV"}));
    EXPECT_EQ(suffixes, (QStringList {"pdf", "xlsx", "csv"}));
    EXPECT_EQ(
        filters, (QStringList {"Документ PDF (*.pdf)", "Электронная таблица (*.xlsx)", "Текст CSV (*.csv)"}));
}
