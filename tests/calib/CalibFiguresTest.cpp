// Kc and the own dependency on every case of the table (data/cases.json) against the
// reviewed figures in golden/, written by calib_reference.py with exact fractions apart
// from the program; and the few rules a file cannot show.
#include "CalibCsv.h"
#include "CoincidenceFactor.h"
#include "OwnDependency.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace luvir;

namespace {

const QString kData = QStringLiteral(LUVIR_CALIB_DATA_DIR);

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Relative 1e-9; a figure that is exactly 0 (S of an exact line) within 1e-12 MPa.
::testing::AssertionResult near(double actual, const QJsonValue &expected)
{
    const double want = expected.toDouble();
    if (std::abs(actual - want) <= std::max(1e-9 * std::max(std::abs(want), std::abs(actual)), 1e-12))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " is not " << want;
}

QJsonObject golden(const QString &file, const char *command)
{
    const QString name = QFileInfo(file).completeBaseName() + u'.' + QLatin1String(command) + ".json";
    return QJsonDocument::fromJson(readAll(kData + QStringLiteral("/../golden/") + name)).object();
}

// The line a refusal names: the reader's, or the line of the site at fault; 0 for the file.
int refusedLine(const CalibCsv &csv, const CalibRefusal &refusal)
{
    return refusal.site >= 0 ? csv.lines.at(refusal.site) : 0;
}

QStringList reasonsOf(const OwnDependency &fit)
{
    QStringList reasons;
    for (const FitFailure failure : fit.failures)
        reasons << (failure == FitFailure::SpreadTooWide    ? QStringLiteral("S/R>15%")
                : failure == FitFailure::CorrelationTooWeak ? QStringLiteral("r<0.7")
                                                            : QStringLiteral("n<12"));
    return reasons;
}

TEST(CalibFigures, EveryCaseAgreesWithTheReference)
{
    const QJsonArray cases = QJsonDocument::fromJson(readAll(kData + QStringLiteral("/cases.json"))).array();
    ASSERT_FALSE(cases.isEmpty());
    for (const QJsonValue &entry : cases) {
        const QString file = entry.toObject().value(QStringLiteral("file")).toString();
        SCOPED_TRACE(file.toStdString());
        const CalibCsv csv = readCalibCsv(readAll(kData + u'/' + file));
        const QJsonObject fitWanted = golden(file, "fit");
        const QJsonObject kcWanted = golden(file, "kc");
        ASSERT_FALSE(fitWanted.isEmpty());
        ASSERT_FALSE(kcWanted.isEmpty());
        if (!csv.ok()) {
            EXPECT_EQ(csv.errorLine, fitWanted.value(QStringLiteral("refused")).toInt(-1));
            EXPECT_EQ(csv.errorLine, kcWanted.value(QStringLiteral("refused")).toInt(-1));
            continue;
        }

        const OwnDependency fit = ownDependency(csv.sites);
        if (fit.refusal.refused()) {
            EXPECT_EQ(refusedLine(csv, fit.refusal), fitWanted.value(QStringLiteral("refused")).toInt(-1));
        } else {
            EXPECT_FALSE(fitWanted.contains(QStringLiteral("refused")));
            EXPECT_TRUE(near(fit.a, fitWanted[QStringLiteral("a")]));
            EXPECT_TRUE(near(fit.b, fitWanted[QStringLiteral("b")]));
            EXPECT_TRUE(near(fit.s, fitWanted[QStringLiteral("S")]));
            EXPECT_TRUE(near(fit.r, fitWanted[QStringLiteral("r")]));
            EXPECT_TRUE(near(fit.hMin, fitWanted[QStringLiteral("hmin")]));
            EXPECT_TRUE(near(fit.hMax, fitWanted[QStringLiteral("hmax")]));
            EXPECT_EQ(fit.sitesKept, fitWanted[QStringLiteral("n")].toInt());
            QStringList culled;
            for (qsizetype i = 0; i < csv.sites.size(); ++i)
                if (fit.cullRound.at(i) != 0)
                    culled << csv.sites.at(i).label;
            EXPECT_EQ(culled, fitWanted[QStringLiteral("culled")].toVariant().toStringList());
            EXPECT_EQ(fit.accepted(), fitWanted[QStringLiteral("accepted")].toBool());
            EXPECT_EQ(reasonsOf(fit), fitWanted[QStringLiteral("reasons")].toVariant().toStringList());
        }

        const CoincidenceFactor kc = coincidenceFactor(csv.sites);
        if (kc.refusal.refused()) {
            EXPECT_EQ(refusedLine(csv, kc.refusal), kcWanted.value(QStringLiteral("refused")).toInt(-1));
            continue;
        }
        EXPECT_FALSE(kcWanted.contains(QStringLiteral("refused")));
        EXPECT_EQ(kc.established(), kcWanted[QStringLiteral("established")].toBool());
        if (kc.kc)
            EXPECT_TRUE(near(*kc.kc, kcWanted[QStringLiteral("kc")]));
        else
            EXPECT_TRUE(kcWanted[QStringLiteral("kc")].isNull());
        const QJsonArray sites = kcWanted[QStringLiteral("sites")].toArray();
        ASSERT_EQ(kc.sites.size(), sites.size());
        for (qsizetype i = 0; i < sites.size(); ++i) {
            const QJsonObject site = sites.at(i).toObject();
            EXPECT_EQ(csv.sites.at(i).label, site[QStringLiteral("site")].toString());
            EXPECT_TRUE(near(kc.sites.at(i).ratio, site[QStringLiteral("ratio")]));
            EXPECT_EQ(
                kc.sites.at(i).standing == RatioStanding::Counted, site[QStringLiteral("counted")].toBool());
        }
    }
}

// Why a site stops counting, and in which round; how many more tests are wanted.
TEST(CalibFigures, KcSaysWhyASiteDoesNotCount)
{
    // Ratios 0.733, 1.004, 1.058, 1.044, 1.286, 1.231, 1.009 and 1.35 (outside 0.7…1.3):
    // 0.733, 1.286 and 1.231 leave in round 1 (Kc 1.052), none in round 2 (Kc 1.029).
    const CalibSites sites
        = {{"1", 24.0, 17.6, {}}, {"2", 25.0, 25.1, {}}, {"3", 22.5, 23.8, {}}, {"4", 27.0, 28.2, {}},
            {"5", 21.0, 27.0, {}}, {"6", 26.0, 32.0, {}}, {"7", 23.0, 23.2, {}}, {"8", 20.0, 27.0, {}}};
    const CoincidenceFactor kc = coincidenceFactor(sites);
    ASSERT_TRUE(kc.kc);
    EXPECT_EQ(kc.sites.at(7).standing, RatioStanding::OutsideLimits); // 1.35
    EXPECT_EQ(kc.sites.at(0).standing, RatioStanding::FarFromMean);
    EXPECT_EQ(kc.sites.at(0).round, 1);
    EXPECT_EQ(kc.counted, 4);
    EXPECT_EQ(kc.roundKc.size(), 2);
    EXPECT_EQ(kc.moreTestsNeeded(), 0);

    // 0.7 and 1.3 count by the limits, then both lie more than 15 % from their mean 1.0:
    // nothing is left to count, and three more tests are wanted.
    const CoincidenceFactor none = coincidenceFactor({{"1", 20, 14, {}}, {"2", 20, 26, {}}});
    EXPECT_EQ(none.sites.at(0).standing, RatioStanding::FarFromMean);
    EXPECT_EQ(none.sites.at(1).standing, RatioStanding::FarFromMean);
    EXPECT_FALSE(none.kc);
    EXPECT_EQ(none.moreTestsNeeded(), 3);
    EXPECT_EQ(coincidenceFactor({}).moreTestsNeeded(), 3);

    const CoincidenceFactor zero = coincidenceFactor({{"1", 20, 20, {}}, {"2а", 0, 26, {}}});
    EXPECT_EQ(zero.refusal.site, 1);
    EXPECT_EQ(
        zero.refusal.message, QStringLiteral("Участок «2а»: косвенное значение H должно быть больше 0"));
}

// The refusals of the dependency, each naming its cause.
TEST(CalibFigures, DependencyRefusalsNameTheCause)
{
    struct Case {
        CalibSites sites;
        qsizetype site;
        QString message;
    };
    const Case cases[] = {
        {{{"1", 20, 20, {}}, {"2", 25, 24, {}}}, -1, "Для зависимости нужно не менее 3 участков, в наборе 2"},
        {{{"1", 20, 20, {}}, {"2", 20, 24, {}}, {"3", 20, 22, {}}}, -1,
            "Все косвенные значения H равны: по ним нельзя построить зависимость"},
        {{{"1", 20, 20, {}}, {"2", 25, 24, {}}, {"", 30, -1, {}}}, 2,
            "Участок № 3: прочность по прямому методу должна быть больше 0"},
        {{{"1", 20, 20, {}}, {"2", 25, 0, {}}, {"3", 30, 31, {}}}, 1,
            "Участок «2»: прочность по прямому методу должна быть больше 0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        const OwnDependency fit = ownDependency(c.sites);
        EXPECT_EQ(fit.refusal.message, c.message);
        EXPECT_EQ(fit.refusal.site, c.site);
        EXPECT_FALSE(fit.accepted());
    }
}

// Sites on a line whose figures doubles cannot hold exactly: the rounding left in the
// residuals is no scatter, and no site is culled for it.
TEST(CalibFigures, AnExactLineInDecimalsCullsNothing)
{
    CalibSites sites;
    for (int i = 0; i < 40; ++i) {
        const double h = 10.1 + 0.7 * i;
        sites << CalibSite {QString::number(i), h, 0.83 * h + 1.7, {}};
    }
    const OwnDependency fit = ownDependency(sites);
    EXPECT_EQ(fit.sitesKept, 40);
    EXPECT_TRUE(fit.accepted());
    EXPECT_NEAR(fit.a, 0.83, 1e-12);
    EXPECT_NEAR(fit.r, 1, 1e-12);
}

} // namespace
