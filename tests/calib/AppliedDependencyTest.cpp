// A dependency applied to a structure: the strength by it in and out of its range, Kc as
// typed, the check of mixed meter dependencies, the newest sites a set is recomputed on,
// and what may be applied. Expected values worked out by hand (in the comments).
#include "AppliedDependency.h"
#include "AppliedDependencyText.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace luvir;

namespace {

AppliedDependency ownLine()
{
    AppliedDependency d;
    d.kind = DependencyKind::Own;
    d.a = 0.8;
    d.b = 4;
    d.hMin = 20;
    d.hMax = 40;
    return d;
}

AppliedDependency kcOf(double kc)
{
    AppliedDependency d;
    d.kind = DependencyKind::Kc;
    d.kc = kc;
    return d;
}

// `count` sites on the exact line R = 0.8·H + 4 at H = 10, 11, …
CalibSites exactLine(int count)
{
    CalibSites sites;
    for (int i = 0; i < count; ++i)
        sites << CalibSite {QString::number(i + 1), 10.0 + i, 0.8 * (10 + i) + 4, {}};
    return sites;
}

} // namespace

TEST(AppliedDependencyTest, StrengthByTheDependencyAndWhetherHLiesInItsRange)
{
    struct Case {
        const char *name;
        AppliedDependency dependency;
        double h;
        double strength;
        bool within;
        const char *text;
    };
    const Case cases[] = {
        {"inside", ownLine(), 25, 24.0, true, "24,0"}, // 0.8·25 + 4
        {"at Hmin", ownLine(), 20, 20.0, true, "20,0"},
        {"at Hmax", ownLine(), 40, 36.0, true, "36,0"},
        {"just below Hmin", ownLine(), 19.99, 19.992, false, "(20,0)"},
        {"above Hmax", ownLine(), 45, 40.0, false, "(40,0)"},
        {"Kc to two decimals, down", kcOf(1.0849), 30, 32.4, true, "32,4"}, // 1.08·30
        {"Kc to two decimals, up", kcOf(1.0851), 30, 32.7, true, "32,7"}, // 1.09·30
        {"Kc has no range", kcOf(1.0), 500, 500.0, true, "500,0"},
        {"a half goes up", kcOf(1.1), 25.5, 28.05, true, "28,1"}, // 1.10·25.5 = 28.05
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DependencyStrength got = strengthBy(c.dependency, c.h);
        EXPECT_NEAR(got.strength, c.strength, 1e-9);
        EXPECT_EQ(got.withinRange, c.within);
        EXPECT_EQ(dependencyStrengthText(got, QStringLiteral(",")), QString::fromUtf8(c.text));
    }
}

TEST(AppliedDependencyTest, MixedMeterDependenciesAreRefusedForKcAndWarnedForOwn)
{
    DependencySource source;
    source.sites = exactLine(5);
    source.sites[3].label = QStringLiteral("Б-4");
    // Three under the base dependency, one under the individual one, one typed from paper.
    source.dependencies = {QStringLiteral("БАЗОВАЯ"), QStringLiteral("БАЗОВАЯ"), QStringLiteral("БАЗОВАЯ"),
        QStringLiteral("ИНДИВИД.1"), QString()};
    const QString named = QStringLiteral("участки набора сняты по разным зависимостям прибора (БАЗОВАЯ, "
                                         "ИНДИВИД.1); отличаются от остальных: «Б-4» (ИНДИВИД.1)");

    const DependencyMix kc = dependencyMix(source, DependencyKind::Kc);
    EXPECT_TRUE(kc.mixed());
    EXPECT_TRUE(kc.refused);
    EXPECT_EQ(kc.differing, QList<qsizetype>({3}));
    EXPECT_EQ(kc.message, QStringLiteral("Kc не вычисляется: ") + named);

    const DependencyMix own = dependencyMix(source, DependencyKind::Own);
    EXPECT_FALSE(own.refused);
    EXPECT_TRUE(own.message.startsWith(QStringLiteral("Внимание: ") + named)) << own.message.toStdString();

    // Applying: the Kc refused with the same message, the own one only warned.
    EXPECT_EQ(applyDependency(source, DependencyKind::Kc, {}).refusal, kc.message);

    // One dependency (and typed sites, whose dependency is not known): nothing to say.
    source.dependencies = {QStringLiteral("БАЗОВАЯ"), QString(), QStringLiteral("БАЗОВАЯ"), QString(), QString()};
    EXPECT_FALSE(dependencyMix(source, DependencyKind::Kc).mixed());
    EXPECT_TRUE(dependencyMix(source, DependencyKind::Kc).message.isEmpty());
}

TEST(AppliedDependencyTest, NewestTwentySitesByTheDirectTestThenByWhenAdded)
{
    // 23 sites: site i tested on day i, added at hour i; site 3 has no date (the oldest);
    // sites 0, 10 and 11 all tested on day 0, added at hours 5, 9 and 1. The three oldest
    // are then 3 (undated), 11 (day 0, hour 1) and 0 (day 0, hour 5).
    const QDate day0(2026, 1, 1);
    const QDateTime hour0(day0, QTime(8, 0));
    CalibSites sites;
    QList<QDateTime> added;
    for (int i = 0; i < 23; ++i) {
        sites << CalibSite {QString::number(i), 20, 20, day0.addDays(i)};
        added << hour0.addSecs(3600 * i);
    }
    sites[3].date = {};
    for (const auto &[site, hour] : {std::pair(0, 5), std::pair(10, 9), std::pair(11, 1)}) {
        sites[site].date = day0;
        added[site] = hour0.addSecs(3600 * hour);
    }
    QList<qsizetype> expected;
    for (qsizetype i = 0; i < 23; ++i)
        if (i != 0 && i != 3 && i != 11)
            expected << i;
    EXPECT_EQ(newestSites(sites, added), expected);

    // Twenty or fewer: all of them, in order.
    EXPECT_EQ(newestSites(sites.first(20), added.first(20)).size(), 20);
    EXPECT_EQ(newestSites(sites.first(3), added.first(3)), QList<qsizetype>({0, 1, 2}));
}

TEST(AppliedDependencyTest, OnlyAnAcceptedDependencyOrAnEstablishedKcIsApplied)
{
    DependencySource source {7, QStringLiteral("Плиты 2026"), QStringLiteral("отрыв со скалыванием"), exactLine(12), {}};
    const QDate today(2026, 12, 11);

    // Twelve sites on R = 0.8·H + 4: accepted, nothing culled, H from 10 to 21.
    const DependencyApplication own = applyDependency(source, DependencyKind::Own, today);
    ASSERT_TRUE(own.applied()) << own.refusal.toStdString();
    const AppliedDependency &d = *own.dependency;
    EXPECT_NEAR(d.a, 0.8, 1e-12);
    EXPECT_NEAR(d.b, 4, 1e-10);
    EXPECT_DOUBLE_EQ(d.hMin, 10);
    EXPECT_DOUBLE_EQ(d.hMax, 21);
    EXPECT_EQ(d.sitesKept, 12);
    EXPECT_EQ(d.sitesBefore, 12);
    EXPECT_TRUE(d.accepted);
    EXPECT_EQ(d.setId, 7);
    EXPECT_EQ(d.setName, QStringLiteral("Плиты 2026"));
    EXPECT_EQ(d.appliedOn, today);
    ASSERT_EQ(d.sites.size(), 12);
    EXPECT_EQ(d.sites.at(11), (AppliedSite {QStringLiteral("12"), 21, 0.8 * 21 + 4, true}));

    // Eleven: computed, but not accepted, so not applied.
    source.sites = exactLine(11);
    EXPECT_EQ(applyDependency(source, DependencyKind::Own, today).refusal,
        QStringLiteral("Собственная зависимость не принята, её нельзя применить: после отбраковки 11 участков, "
                       "нужно не менее 12"));

    // Kc over ratios 1.0, 1.1 and 0.9: their mean 1.0, all within ±15 %.
    source.sites = {{QStringLiteral("1"), 10, 10, {}}, {QStringLiteral("2"), 10, 11, {}},
        {QStringLiteral("3"), 10, 9, {}}};
    const DependencyApplication kc = applyDependency(source, DependencyKind::Kc, today);
    ASSERT_TRUE(kc.applied()) << kc.refusal.toStdString();
    EXPECT_NEAR(kc.dependency->kc, 1.0, 1e-12);
    EXPECT_EQ(kc.dependency->kcSites, 3);

    // Two sites: no Kc, and how many more tests it needs.
    source.sites.removeLast();
    EXPECT_EQ(applyDependency(source, DependencyKind::Kc, today).refusal,
        QStringLiteral("Kc не установлен, его нельзя применить: нужно ещё 1 прямое испытание"));
    // A refusal of the computation itself is passed on.
    source.sites.first().direct = 0;
    EXPECT_FALSE(applyDependency(source, DependencyKind::Kc, today).refusal.isEmpty());
}
