#include "MeasurementReport.h"
#include "ReportEngine.h"
#include "ReportTestData.h"
#include "TestData.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace luvir;
using luvir::test::kPrintMoment;
using luvir::test::kRussianLocale;
using luvir::test::sampleTable;

namespace {

constexpr double kMargin = 37.7953;
constexpr double kTitle = 37.7953;
constexpr double kLine = 18.89765;
constexpr double kFooter = 22.67718;
constexpr double kPageHeight = 1122.5197; // 297 mm
constexpr double kUnitTolerance = 1e-3;

PreparedReport prepare(const MeasurementTable &table)
{
    return prepareMeasurementReport(table, kPrintMoment, kRussianLocale);
}

QList<const PreparedBand *> bandsOf(const PreparedPage &page, ReportBand::Kind kind)
{
    QList<const PreparedBand *> bands;
    for (const PreparedBand &band : page.bands)
        if (band.kind == kind)
            bands.append(&band);
    return bands;
}

QStringList textsOf(const PreparedBand &band)
{
    QStringList texts;
    for (const PreparedText &text : band.texts)
        texts.append(text.text);
    return texts;
}

QList<QStringList> printedLines(const PreparedReport &report)
{
    QList<QStringList> lines;
    for (const PreparedPage &page : report.pages)
        for (const PreparedBand *band : bandsOf(page, ReportBand::MasterData))
            lines.append(textsOf(*band));
    return lines;
}

} // namespace

TEST(MeasurementReportTemplate, ObjectsHaveTheirMeasures)
{
    const ReportTemplate t = measurementReportTemplate();
    EXPECT_EQ(t.pageName, "Page1");
    EXPECT_NEAR(t.pageSizeUnits().width(), 793.7008, kUnitTolerance);
    EXPECT_NEAR(t.pageSizeUnits().height(), kPageHeight, kUnitTolerance);
    EXPECT_NEAR(t.printableRect().left(), kMargin, kUnitTolerance);
    EXPECT_NEAR(t.printableRect().width(), 718.1107, kUnitTolerance);
    ASSERT_EQ(t.bands.size(), 3);
    EXPECT_EQ(t.bands[0].name, "ReportTitle1");
    EXPECT_NEAR(t.bands[0].height, kTitle, kUnitTolerance);
    EXPECT_EQ(t.bands[1].name, "MasterData1");
    EXPECT_EQ(t.bands[1].dataSetName, "StringDS");
    EXPECT_NEAR(t.bands[1].height, kLine, kUnitTolerance);
    EXPECT_EQ(t.bands[2].name, "PageFooter1");
    EXPECT_NEAR(t.bands[2].height, kFooter, kUnitTolerance);
    EXPECT_TRUE(t.bands[2].texts.isEmpty());

    const ReportText *memo1 = t.findText("Memo1");
    const ReportText *memo9 = t.findText("Memo9");
    ASSERT_TRUE(memo1 && memo9);
    EXPECT_EQ(memo1->rect, QRectF(0, 0, 234.33086, 37.7953));
    EXPECT_EQ(memo1->font.pixelSize(), 19);
    EXPECT_TRUE(memo1->font.bold());
    EXPECT_EQ(memo9->rect, QRectF(483.77984, 0, 234.33086, 37.7953));
    EXPECT_TRUE(memo9->widthFollowsText);
    EXPECT_TRUE(memo9->alignment & Qt::AlignRight);
    EXPECT_EQ(memo9->font.pixelSize(), 13);

    const struct {
        const char *name, *text;
        double left, width;
    } cells[] = {
        {"Memo2", "[Cell1]", 0, 75.5906},
        {"Memo3", "[Cell2]", 76.37013, 139.84261},
        {"Memo4", "[Cell3]", 216.322975, 94.48825},
        {"Memo5", "[Cell4]", 310.811225, 94.48825},
        {"Memo6", "[Cell5]", 405.299475, 94.48825},
        {"Memo7", "[Cell6]", 499.787725, 94.48825},
        {"Memo8", "[Cell7]", 594.275975, 124.72449},
    };
    for (const auto &c : cells) {
        const ReportText *memo = t.findText(c.name);
        ASSERT_TRUE(memo) << c.name;
        EXPECT_EQ(memo->text, c.text);
        EXPECT_EQ(memo->rect, QRectF(c.left, 0, c.width, kLine)) << c.name;
        EXPECT_TRUE(memo->framed);
        EXPECT_EQ(memo->alignment & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(memo->font.pixelSize(), 13);
        EXPECT_FALSE(memo->font.bold());
    }
}

TEST(MeasurementReportTemplate, FontsFallBackToArialsTwinAndDrawEveryArrow)
{
    const QString family = QFontInfo(reportFont(13)).family();
    EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
    // Some family of the list must hold each arrow; the metric twin lacks two of them.
    for (const QChar arrow : QStringLiteral("↑↗→↘↓")) {
        bool drawable = false;
        for (const QString &f : reportFont(13).families())
            drawable = drawable || QFontMetrics(QFont(f)).inFont(arrow);
        EXPECT_TRUE(drawable) << int(arrow.unicode());
    }
}

TEST(MeasurementReport, PrintsTitleThenColumnTitlesThenEveryRow)
{
    for (const int rows : {0, 1, 7}) {
        const MeasurementTable table = sampleTable(rows);
        const PreparedReport report = prepare(table);
        ASSERT_EQ(report.pageCount(), 1);
        const auto titles = bandsOf(report.pages[0], ReportBand::ReportTitle);
        ASSERT_EQ(titles.size(), 1);
        EXPECT_EQ(textsOf(*titles[0]), (QStringList {"ЛЮВИР-2.07", "10.12.2026 14:05:09"}));
        const QList<QStringList> lines = printedLines(report);
        ASSERT_EQ(lines.size(), rows + 1) << rows;
        EXPECT_EQ(lines[0], MeasurementTableHeader);
        for (int r = 0; r <= rows; ++r)
            EXPECT_EQ(lines[r], table.rows[r]) << r;
    }
}

TEST(MeasurementReport, ArrowsAreDrawnInOneFamily)
{
    const PreparedReport report = prepare(sampleTable(5));
    const auto lines = bandsOf(report.pages[0], ReportBand::MasterData);
    EXPECT_NE(lines[0]->texts[3].font.families().constFirst(), "DejaVu Sans"); // "Направление"
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(lines[r]->texts[3].font.families().constFirst(), "DejaVu Sans") << r;
        EXPECT_EQ(lines[r]->texts[3].font.pixelSize(), 13);
        EXPECT_EQ(lines[r]->texts[2].font.families(), reportFont(13).families());
    }
}

TEST(MeasurementReport, PrintsTheTableAsShownAfterDeletion)
{
    CellArchive archive = test::sampleArchive(4);
    MeasurementTable table = buildMeasurementTable(archive, ",");
    ASSERT_TRUE(deleteMeasurement(table, archive, 2));
    const QList<QStringList> lines = printedLines(prepare(table));
    EXPECT_EQ(lines, table.rows);
}

TEST(MeasurementReport, TitleDateFollowsTheRightEdge)
{
    const PreparedReport report = prepare(sampleTable(0));
    const PreparedText &memo9 = bandsOf(report.pages[0], ReportBand::ReportTitle)[0]->texts[1];
    EXPECT_NEAR(memo9.rect.right(), kMargin + 718.1107, kUnitTolerance);
    EXPECT_LT(memo9.rect.width(), 234.33086); // narrowed to its text
    EXPECT_GT(memo9.rect.width(), 60);
}

TEST(MeasurementReport, LongReportFlowsOntoFurtherPages)
{
    const MeasurementTable table = sampleTable(999);
    const PreparedReport report = prepare(table);
    // Page 1 holds 52 lines under the title, each further page 54: 1000 lines, 19 pages.
    ASSERT_EQ(report.pageCount(), 19);
    const double footerTop = kPageHeight - kMargin - kFooter;
    int line = 0;
    for (int p = 0; p < report.pageCount(); ++p) {
        const PreparedPage &page = report.pages[p];
        EXPECT_EQ(bandsOf(page, ReportBand::ReportTitle).size(), p == 0 ? 1 : 0) << p;
        const auto footers = bandsOf(page, ReportBand::PageFooter);
        ASSERT_EQ(footers.size(), 1) << p;
        EXPECT_NEAR(footers[0]->rect.top(), footerTop, kUnitTolerance);
        EXPECT_NEAR(footers[0]->rect.height(), kFooter, kUnitTolerance);
        EXPECT_TRUE(footers[0]->texts.isEmpty());

        const auto lines = bandsOf(page, ReportBand::MasterData);
        EXPECT_EQ(lines.size(), p == 0 ? 52 : (p < 18 ? 54 : 1000 - 52 - 17 * 54)) << p;
        const double first = kMargin + (p == 0 ? kTitle : 0);
        for (int i = 0; i < lines.size(); ++i, ++line) {
            EXPECT_NEAR(lines[i]->rect.top(), first + i * kLine, kUnitTolerance) << p << " " << i;
            EXPECT_LE(lines[i]->rect.bottom(), footerTop + kUnitTolerance);
            EXPECT_EQ(textsOf(*lines[i]), table.rows[line]);
            EXPECT_NEAR(lines[i]->texts[1].rect.left(), kMargin + 76.37013, kUnitTolerance);
        }
    }
    EXPECT_EQ(line, 1000);
    EXPECT_EQ(printedLines(report).constLast().constFirst(), "999");
}

TEST(MeasurementReport, ValueCallbackMatchesNamesIgnoringAsciiCaseOnly)
{
    const MeasurementTable table = sampleTable(2);
    MeasurementReport report;
    report.setUp(table, kPrintMoment, kRussianLocale);
    EXPECT_EQ(report.StringDS.recordCount(), 3);
    report.StringDS.first();
    report.StringDS.next(); // record 1: the first measurement row

    const struct {
        QString name;
        int column; // -1: the value stays untouched
    } cases[] = {
        {"Cell1", 0}, {"cell2", 1}, {"CELL3", 2}, {"cELL7", 6}, {"Cell8", -1}, {"Cell0", -1}, {"Cell", -1},
        {"Cell1 ", -1}, {"", -1}, {QStringLiteral("\u0421ell1"), -1}, // Cyrillic Es for the C
        {QStringLiteral("Ce\u04CFl1"), -1}, // Cyrillic palochka for an l
        {QStringLiteral("Cell\uFF11"), -1}, // a full-width one
    };
    for (const auto &c : cases) {
        QVariant value(42);
        report.frxReport1GetValue(c.name, value);
        if (c.column < 0)
            EXPECT_EQ(value, QVariant(42)) << c.name.toStdString();
        else
            EXPECT_EQ(value.toString(), table.rows[1][c.column]) << c.name.toStdString();
    }

    report.StringDS.first(); // record 0 is the header row
    QVariant value;
    report.frxReport1GetValue("Cell7", value);
    EXPECT_EQ(value.toString(), "Прочность, МПа");
}

TEST(MeasurementReport, DateAndTimeOfTheTitle)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const struct {
        QLocale locale;
        QTime time;
        const char *text;
    } cases[] = {
        {kRussianLocale, QTime(14, 5, 9), "10.12.2026 14:05:09"},
        {kRussianLocale, QTime(0, 0), "10.12.2026"},
        {kRussianLocale, QTime(0, 0, 0, 1), "10.12.2026 00:00:00"},
        {kRussianLocale, QTime(0, 0, 1), "10.12.2026 00:00:01"},
        {english, QTime(14, 5, 9), "12/10/26 2:05:09 PM"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(reportDateTimeText(QDateTime(QDate(2026, 12, 10), c.time), c.locale), c.text);
}

TEST(ReportEngine, ExpressionsAreReplacedOnce)
{
    const ReportValueFunction values = [](const QString &name, QVariant &value) {
        if (name == "A")
            value = QStringLiteral("[B]");
        else if (name == "B")
            value = QStringLiteral("b");
    };
    const struct {
        const char *text, *expanded;
    } cases[] = {
        {"[A]", "[B]"},
        {"x[B]y[B]z", "xbybz"},
        {"[ B ]", "b"},
        {"[C]", ""},
        {"no [ end", "no [ end"},
        {"]", "]"},
        {"[]", ""},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(expandReportText(c.text, values), c.expanded) << c.text;
}

TEST(ReportEngine, EmptyDataSetStillGivesTitleAndFooter)
{
    ReportTemplate t = measurementReportTemplate();
    UserDataSet other(QStringLiteral("Other")); // the data band is bound to StringDS
    other.setRecordCount(5);
    const PreparedReport report = prepareReport(t, other, {});
    ASSERT_EQ(report.pageCount(), 1);
    EXPECT_TRUE(bandsOf(report.pages[0], ReportBand::MasterData).isEmpty());
    EXPECT_EQ(bandsOf(report.pages[0], ReportBand::PageFooter).size(), 1);
}

TEST(ReportEngine, BandTallerThanAPageStillPrints)
{
    ReportTemplate t = measurementReportTemplate();
    t.bands[1].height = 2000;
    UserDataSet data(QStringLiteral("StringDS"));
    data.setRecordCount(2);
    const PreparedReport report = prepareReport(t, data, {});
    EXPECT_EQ(report.pageCount(), 3);
}
