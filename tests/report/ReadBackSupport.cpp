#include "ReadBackSupport.h"

#include "MeasurementTable.h"
#include "TestData.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

namespace luvir::test {

namespace {

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

} // namespace

QJsonArray readBack(const QString &kind, const QString &file)
{
    const ToolRun run = runTool(python(), {LUVIR_REPORT_TEST_DIR "/read_back.py", kind, file}, "C.UTF-8");
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

CellArchive archiveOf(std::initializer_list<ArchiveCell> cells)
{
    CellArchive archive;
    for (const ArchiveCell &cell : cells)
        archive.Cells[archive.Count++] = cell;
    return archive;
}

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

} // namespace luvir::test
