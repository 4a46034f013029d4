// What the calibration window shows of a set, without the window: which sites are
// computed, each row's texts and the figures under the table, and the chart's points and
// line. The figures were worked out apart from the program (tests/calib/calib_reference.py
// on the same sites, and by hand for Kc).
#include "CalibOutcome.h"
#include "CalibChartContent.h"

#include <gtest/gtest.h>

using namespace luvir;

namespace {

CalibrationSite typedSite(const QString &label, double h, double r)
{
    CalibrationSite site;
    site.label = label;
    site.indirect = h;
    site.direct = r;
    return site;
}

// Fifteen sites on R ≈ 0.85·H + 4, H = 16, 18 … 44, the last 5 MPa above the line: culled in
// the first round, then none. calib_reference.py fit: a = 0.8501098901…, b = 4.0039560439…,
// S = 0.2361628…, r = 0.99949…, 14 kept, Hmin 16, Hmax 42, accepted.
QList<CalibrationSite> fifteenSites()
{
    const double direct[]
        = {17.9, 19.1, 21.1, 22.3, 24.6, 26.1, 27.7, 29.8, 30.9, 33.1, 34.4, 36.4, 38.2, 39.6, 46.4};
    QList<CalibrationSite> sites;
    for (int i = 0; i < 15; ++i)
        sites << typedSite(QString::number(i + 1), 16 + 2 * i, direct[i]);
    return sites;
}

} // namespace

// A measurement whose Kc is 0 stays in the table, with its reason, and out of the figures.
TEST(CalibOutcome, OwnDependencyLeavesOutAnUnusableMeasurementAndCullsTheFarSite)
{
    QList<CalibrationSite> sites = fifteenSites();
    CalibrationSite zeroKc;
    zeroKc.label = QStringLiteral("7а");
    zeroKc.measurementId = 99;
    zeroKc.direct = 25;
    zeroKc.dependency = QStringLiteral("БАЗОВАЯ");
    zeroKc.unusable = QStringLiteral("Kc измерения равен 0");
    sites.insert(3, zeroKc);

    const CalibOutcome outcome = calibOutcome(sites, DependencyKind::Own, false);
    ASSERT_TRUE(outcome.computed()) << qPrintable(outcome.refusal);
    EXPECT_EQ(outcome.used.size(), 15);
    EXPECT_FALSE(outcome.used.contains(3));
    EXPECT_TRUE(outcome.applicable());
    EXPECT_NEAR(outcome.fit.a, 0.8501098901098901, 1e-12);
    EXPECT_NEAR(outcome.fit.b, 4.003956043956044, 1e-12);

    // Each row: label, H, R, date, dependency, then the computed pair.
    EXPECT_EQ(calibSiteRow(outcome, 3, QStringLiteral(",")),
        (QStringList {"7а", "", "25,0", "", "БАЗОВАЯ", "", "не используется: Kc измерения равен 0"}));
    EXPECT_EQ(calibSiteRow(outcome, 0, QStringLiteral(",")),
        (QStringList {"1", "16,00", "17,9", "", "введён вручную", "17,6", ""}));
    // 0.85011·44 + 4.00396 = 41.41: shown beside its direct 46.4, culled in round 1.
    EXPECT_EQ(calibSiteRow(outcome, 15, QStringLiteral(".")),
        (QStringList {"15", "44.00", "46.4", "", "введён вручную", "41.4", "отбракован (тур 1)"}));
    EXPECT_EQ(calibColumnTitles(DependencyKind::Own).value(SiteFigure), "R по зависимости, МПа");

    const QStringList lines = calibSummaryLines(outcome, QStringLiteral(","));
    for (const char *expected : {"Зависимость: R = 0,8501·H + 4,00", "S = 0,24 МПа", "S/R̄ = 0,8 %",
             "r = 1,00", "Участков: 15, после отбраковки 14", "Отбракованы: «15» (тур 1)",
             "H от 16,00 до 42,00 МПа", "Зависимость принята"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                 << qPrintable(lines.join('\n'));

    const CalibChartContent chart = calibChartContent(outcome, QStringLiteral(","));
    EXPECT_EQ(chart.kept.size(), 14);
    EXPECT_EQ(chart.culled, (QList<QPointF> {{44, 46.4}}));
    EXPECT_NEAR(chart.line.x1(), 16, 1e-12);
    EXPECT_NEAR(chart.line.y1(), 17.605714285714285, 1e-9); // a·16 + b
    EXPECT_NEAR(chart.line.x2(), 42, 1e-12);
    EXPECT_NEAR(chart.line.y2(), 39.70857142857143, 1e-9); // a·42 + b
    EXPECT_EQ(chart.title, "R = 0,8501·H + 4,00");
}

// q = 1.0, 1.1, 0.9, 1.5: the last outside 0.7…1.3; Kc = (1.0 + 1.1 + 0.9) / 3 = 1.00 and
// every counted ratio within ±15 % of it. The line R = Kc·H over the counted sites' H.
TEST(CalibOutcome, KcCountsTheRatiosWithinTheLimitsAndDrawsTheLineOverTheCountedSites)
{
    const QList<CalibrationSite> sites {
        typedSite("1", 20, 20), typedSite("2", 25, 27.5), typedSite("3", 30, 27), typedSite("4", 35, 52.5)};
    const CalibOutcome outcome = calibOutcome(sites, DependencyKind::Kc, false);
    ASSERT_TRUE(outcome.applicable());
    EXPECT_EQ(calibSiteRow(outcome, 1, QStringLiteral(",")),
        (QStringList {"2", "25,00", "27,5", "", "введён вручную", "1,100", "учтён"}));
    EXPECT_EQ(calibSiteRow(outcome, 3, QStringLiteral(",")).value(SiteStanding), "не учтён: вне 0,7…1,3");
    EXPECT_EQ(calibSummaryLines(outcome, QStringLiteral(",")),
        (QStringList {QStringLiteral("Kc = 1,00 (учтено участков: 3 из 4)")}));

    const CalibChartContent chart = calibChartContent(outcome, QStringLiteral(","));
    EXPECT_EQ(chart.kept.size(), 3);
    EXPECT_EQ(chart.culled, (QList<QPointF> {{35, 52.5}}));
    EXPECT_EQ(chart.line, QLineF(20, 20, 30, 30));
    EXPECT_EQ(chart.lineName, "Kc = 1,00");
}

// What cannot be computed is said in place of the figures, and nothing is offered to apply.
TEST(CalibOutcome, ARefusedSetShowsItsReasonAndItsSitesOnly)
{
    struct Case {
        const char *name;
        QList<CalibrationSite> sites;
        DependencyKind kind;
        const char *reason; // a part of the refusal
    };
    const QList<Case> cases {
        {"two sites", {typedSite("1", 20, 20), typedSite("2", 25, 26)}, DependencyKind::Own, "не менее 3"},
        {"all H equal", {typedSite("1", 20, 20), typedSite("2", 20, 21), typedSite("3", 20, 22)},
            DependencyKind::Own, "H"},
        {"too few for Kc", {typedSite("1", 20, 20), typedSite("2", 25, 26)}, DependencyKind::Kc,
            "нужно ещё 1 прямое испытание"},
    };
    for (const Case &c : cases) {
        const CalibOutcome outcome = calibOutcome(c.sites, c.kind, false);
        EXPECT_FALSE(outcome.applicable()) << c.name;
        const QString shown = calibSummaryLines(outcome, QStringLiteral(",")).join('\n');
        EXPECT_TRUE(shown.contains(QString::fromUtf8(c.reason))) << c.name << ": " << qPrintable(shown);
        EXPECT_TRUE(calibChartContent(outcome, QStringLiteral(",")).line.isNull()) << c.name;
    }
}

// «по последним 20 участкам»: of 22 sites the two with the oldest direct tests are left out,
// each saying why; the dependency is taken over the other twenty.
TEST(CalibOutcome, TheNewest20LeaveTheOldestOutSayingWhy)
{
    QList<CalibrationSite> sites;
    for (int i = 0; i < 22; ++i) {
        CalibrationSite site = typedSite(QString::number(i + 1), 16 + i, 0.85 * (16 + i) + 4 + (i % 3) * 0.1);
        // Sites 5 and 9 were tested in 2019, the rest in 2026 in the order added.
        site.testedOn = i == 4 || i == 8 ? QDate(2019, 5, 1 + i) : QDate(2026, 1, 1 + i);
        site.addedAt = QDateTime(QDate(2026, 12, 1), QTime(9, i));
        sites << site;
    }
    const CalibOutcome all = calibOutcome(sites, DependencyKind::Own, false);
    EXPECT_EQ(all.fit.sitesBefore, 22);
    const CalibOutcome newest = calibOutcome(sites, DependencyKind::Own, true);
    EXPECT_EQ(newest.fit.sitesBefore, 20);
    EXPECT_FALSE(newest.used.contains(4));
    EXPECT_FALSE(newest.used.contains(8));
    EXPECT_EQ(newest.notUsed.value(4), "не среди 20 последних");
    EXPECT_EQ(calibSiteRow(newest, 8, QStringLiteral(",")).value(SiteStanding), "не среди 20 последних");
    EXPECT_EQ(newest.input.first().label, "1");
    EXPECT_EQ(newest.input.at(4).label, "6");
}
