// The report's files read back by the programs our users open them with: the spreadsheet
// by openpyxl and LibreOffice, the CSV by Python's csv module, the PDF by poppler. The
// files are written by luvir-cli under the C locale and under ru_RU.UTF-8, as users run
// it, and by the exporter in this process under a comma-decimal C library.
#include "ArchiveFile.h"
#include "CNumericLocale.h"
#include "MeasurementReport.h"
#include "MeasurementTable.h"
#include "TestData.h"
#include "ToolRun.h"
#include "XlsxExporter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

using namespace luvir;
using luvir::test::CellFields;
using luvir::test::makeCell;
using luvir::test::testDataPath;

namespace {

struct UserLocale {
    const char *name;
    QString separator; // the decimal separator the table takes under it
};
const UserLocale kLocales[] = {{"C", "."}, {"ru_RU.UTF-8", ","}};

const QStringList kColumnTitles
    = {"№", "Дата и время", "Вид изделия", "Направление", "Зависимость", "Kc", "Прочность, МПа"};

using luvir::test::runTool;
using luvir::test::ToolRun;

// The first Python 3 on the path that has openpyxl, else the system's.
QString python()
{
    static const QString found = [] {
        const QString candidates[] = {QStandardPaths::findExecutable("python3"), "/usr/bin/python3"};
        for (const QString &candidate : candidates)
            if (!candidate.isEmpty()) {
                QProcess probe;
                probe.setProcessChannelMode(QProcess::ForwardedOutputChannel); // errors dropped
                probe.start(candidate, {"-c", "import openpyxl"});
                if (probe.waitForFinished(60000) && probe.exitStatus() == QProcess::NormalExit
                    && probe.exitCode() == 0)
                    return candidate;
            }
        return QStringLiteral("/usr/bin/python3");
    }();
    return found;
}

// The rows of a file as tests/report/read_back.py reads it ("xlsx" or "csv").
QJsonArray readBack(const QString &kind, const QString &file)
{
    const ToolRun run
        = runTool(python(), {LUVIR_REPORT_TEST_DIR "/read_back.py", kind, file}, "C.UTF-8");
    EXPECT_TRUE(run.ok()) << run.problem.toStdString();
    return QJsonDocument::fromJson(run.out).array();
}

QJsonValue textCell(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonObject {{"text", text}};
}

QJsonValue numberCell(double value, const QString &format)
{
    return QJsonObject {{"number", value}, {"format", format}};
}

std::string show(const QJsonValue &value)
{
    return QJsonDocument(QJsonArray {value}).toJson(QJsonDocument::Compact).toStdString();
}

// Cells are equal when both are empty, texts are equal, or numbers have the same value
// and number format (openpyxl gives 5 for a stored "5" and 5.0 for "5.0").
bool sameCell(const QJsonValue &a, const QJsonValue &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    const QJsonObject x = a.toObject(), y = b.toObject();
    if (x.contains("number") || y.contains("number"))
        return x.contains("number") && y.contains("number")
            && x["number"].toDouble() == y["number"].toDouble() && x["format"] == y["format"];
    return x == y;
}

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

void expectRow(const QJsonArray &actual, const QJsonArray &expected, const QString &where)
{
    ASSERT_EQ(actual.size(), expected.size()) << where.toStdString();
    for (qsizetype c = 0; c < expected.size(); ++c)
        EXPECT_TRUE(sameCell(actual.at(c), expected.at(c)))
            << where.toStdString() << " column " << c << ": " << show(actual.at(c)) << " expected "
            << show(expected.at(c));
}

QStringList strings(const QJsonValue &row)
{
    QStringList result;
    for (const QJsonValue &v : row.toArray())
        result << v.toString();
    return result;
}

// A word of pdftotext's XHTML as text.
QString unescaped(QString word)
{
    return word.replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&quot;", "\"")
        .replace("&apos;", "'")
        .replace("&amp;", "&");
}

CellArchive archiveOf(std::initializer_list<ArchiveCell> cells)
{
    CellArchive archive;
    for (const ArchiveCell &cell : cells)
        archive.Cells[archive.Count++] = cell;
    return archive;
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

class ReadBack : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QString writeArchive(const QString &name, const CellArchive &archive)
    {
        const QString file = path(name);
        EXPECT_TRUE(ArchiveWriter().write(file, archive, ProtocolVersion {1, 0}));
        return file;
    }

    // luvir-cli export ARCHIVE OUT under `locale`.
    void exportWithCli(const QString &archive, const QString &out, const char *locale)
    {
        const ToolRun run = runTool(LUVIR_CLI_PATH, {"export", archive, out}, locale);
        ASSERT_TRUE(run.ok()) << run.problem.toStdString();
    }

    QTemporaryDir m_dir;
};

// Five measurements whose table texts are worked out by hand (decimal comma).
const CellArchive kHandMade = archiveOf({
    makeCell({.strength = 253,
        .direction = 2,
        .elementKind = 2,
        .dependency = 1,
        .kc = 85,
        .second = 9,
        .minute = 5,
        .hour = 14,
        .day = 3,
        .month = 12,
        .year = 13}),
    makeCell({.strength = 250, .direction = 7, .elementKind = 10, .kc = 100}),
    makeCell({.strength = 5, .direction = 4, .elementKind = 0, .dependency = 9, .kc = 0}),
    makeCell({.strength = 0, .direction = 0, .kc = 105, .day = 31, .month = 1, .year = 26}),
    makeCell({.strength = 65535, .direction = 1, .kc = 255}),
});
const QList<QStringList> kHandMadeTexts = {
    {"1", "03.12.2013 14:05:09", "колонна", "→", "ИНДИВИД.<1>", "0,85", "25,3"},
    {"2", "00.00.2000 00:00:00", "свая", "", "БАЗОВАЯ", "1,00", "25"},
    {"3", "00.00.2000 00:00:00", "изделие", "↓", "ИНДИВИД.<9>", "0,00", "0,5"},
    {"4", "31.01.2026 00:00:00", "изделие", "↑", "БАЗОВАЯ", "1,05", "0"},
    {"5", "00.00.2000 00:00:00", "изделие", "↗", "БАЗОВАЯ", "2,55", "6553,5"},
};
const QList<QJsonArray> kHandMadeSheetRows = {
    {numberCell(1, "0"), textCell("03.12.2013 14:05:09"), textCell("колонна"), textCell("→"),
        textCell("ИНДИВИД.<1>"), numberCell(0.85, "0.00"), numberCell(25.3, "0.0")},
    {numberCell(2, "0"), textCell("00.00.2000 00:00:00"), textCell("свая"), QJsonValue(), textCell("БАЗОВАЯ"),
        numberCell(1, "0.00"), numberCell(25, "0")},
    {numberCell(3, "0"), textCell("00.00.2000 00:00:00"), textCell("изделие"), textCell("↓"),
        textCell("ИНДИВИД.<9>"), numberCell(0, "0.00"), numberCell(0.5, "0.0")},
    {numberCell(4, "0"), textCell("31.01.2026 00:00:00"), textCell("изделие"), textCell("↑"),
        textCell("БАЗОВАЯ"), numberCell(1.05, "0.00"), numberCell(0, "0")},
    {numberCell(5, "0"), textCell("00.00.2000 00:00:00"), textCell("изделие"), textCell("↗"),
        textCell("БАЗОВАЯ"), numberCell(2.55, "0.00"), numberCell(6553.5, "0.0")},
};

// The hand-made texts with the decimal separator of `locale`.
QStringList handMadeTexts(int row, const UserLocale &locale)
{
    QStringList texts = kHandMadeTexts.at(row);
    for (int c : {5, 6})
        texts[c].replace(',', locale.separator);
    return texts;
}

void expectTitleAndColumnTitles(const QJsonArray &rows)
{
    ASSERT_GE(rows.size(), 2);
    const QJsonArray title = rows.at(0).toArray();
    ASSERT_EQ(title.size(), kTableColumns);
    EXPECT_TRUE(sameCell(title.at(0), textCell("ЛЮВИР-2.07"))) << show(title.at(0));
    EXPECT_TRUE(title.at(6).toObject().contains("text")) << show(title.at(6)); // the date, as text
    for (int c = 1; c < 6; ++c)
        EXPECT_TRUE(title.at(c).isNull()) << c;
    QJsonArray titles;
    for (const QString &t : kColumnTitles)
        titles.append(textCell(t));
    expectRow(rows.at(1).toArray(), titles, "column titles");
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

// Where poppler finds the words of the first measurement line: each inside its cell of
// the printed table (10 mm margin, cells at 0, 20.21, ... 157.24 mm, 190.24 mm the end).
TEST_F(ReadBack, PdfWordsStandInTheirCells)
{
    const QString archive = writeArchive("hand.db", kHandMade);
    const double cellEdgesMm[]
        = {0, 20, 20.21, 57.21, 57.24, 82.24, 82.24, 107.24, 107.24, 132.24, 132.24, 157.24, 157.24, 190.24};
    for (const UserLocale &locale : kLocales) {
        SCOPED_TRACE(locale.name);
        const QString pdf = path(QStringLiteral("hand-%1.pdf").arg(locale.name));
        exportWithCli(archive, pdf, locale.name);
        const ToolRun run = runTool("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"}, "C.UTF-8");
        ASSERT_TRUE(run.ok()) << run.problem.toStdString();
        struct Word {
            double left, top, right;
            QString text;
        };
        QList<Word> words;
        static const QRegularExpression wordPattern(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
        for (const auto &m : wordPattern.globalMatch(QString::fromUtf8(run.out)))
            words.append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                unescaped(m.captured(4))});
        // The first measurement line: the line of the word "1" in the first cell.
        const QStringList texts = handMadeTexts(0, locale);
        const double pointsPerMm = 72 / 25.4;
        const auto first = std::find_if(words.begin(), words.end(),
            [&](const Word &w) { return w.text == "1" && w.left < (10 + 20) * pointsPerMm; });
        ASSERT_NE(first, words.end());
        for (int c = 0; c < kTableColumns; ++c) {
            const double left = (10 + cellEdgesMm[2 * c]) * pointsPerMm;
            const double right = (10 + cellEdgesMm[2 * c + 1]) * pointsPerMm;
            QStringList found;
            for (const Word &w : words)
                if (qAbs(w.top - first->top) < 2 && w.left >= left && w.right <= right)
                    found << w.text;
            EXPECT_EQ(found.join(' '), texts.at(c)) << "column " << c;
        }
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

// The C library of this process under a locale, as the application object sets it from
// the environment; the earlier locale comes back at the end.
class ProcessLocale
{
public:
    explicit ProcessLocale(const char *name)
        : m_previous(std::setlocale(LC_ALL, nullptr))
        , m_set(std::setlocale(LC_ALL, name) != nullptr)
    {
    }
    ~ProcessLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    bool isSet() const { return m_set; }

private:
    std::string m_previous;
    bool m_set;
};

QString printed(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return QString::fromLatin1(text);
}

TEST(CNumericLocaleTest, PointInsideCommaOutside)
{
    const ProcessLocale russian("ru_RU.UTF-8");
    if (!russian.isSet())
        GTEST_SKIP() << "the locale ru_RU.UTF-8 is not installed";
    ASSERT_EQ(printed(0.5), "0,5");
    {
        const CNumericLocale point;
        EXPECT_EQ(printed(0.5), "0.5");
        {
            const CNumericLocale nested;
            EXPECT_EQ(printed(2.25), "2.25");
        }
        EXPECT_EQ(printed(0.5), "0.5");
    }
    EXPECT_EQ(printed(0.5), "0,5");
}

// The preview exports in the program's own process, whose C library runs under the
// user's locale.
TEST_F(ReadBack, SpreadsheetFromACommaDecimalProcess)
{
    const ProcessLocale russian("ru_RU.UTF-8");
    if (!russian.isSet())
        GTEST_SKIP() << "the locale ru_RU.UTF-8 is not installed";
    QList<QStringList> rows;
    for (int r = 0; r < kHandMade.Count; ++r)
        rows << kHandMadeTexts.at(r);
    MeasurementTable table;
    table.rows = QList<QStringList> {kColumnTitles} + rows;
    XlsxExporter exporter;
    ASSERT_TRUE(exporter.save(prepareMeasurementReport(table, QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9)),
                                  QLocale(QLocale::Russian)),
        path("preview.xlsx")))
        << exporter.errorString().toStdString();
    const QJsonArray sheet = readBack("xlsx", path("preview.xlsx"));
    ASSERT_EQ(sheet.size(), 2 + kHandMade.Count);
    expectTitleAndColumnTitles(sheet);
    for (int r = 0; r < kHandMade.Count; ++r)
        expectRow(sheet.at(2 + r).toArray(), kHandMadeSheetRows.at(r), QStringLiteral("row %1").arg(r + 1));
}

} // namespace
