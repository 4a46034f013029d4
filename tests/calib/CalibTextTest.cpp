// The results as the window and the command line show them: Russian, the user's decimal
// separator, Kc to two decimals, a figure just past a limit never shown as the limit.
#include "CalibText.h"
#include "CalibCsv.h"

#include <QFile>

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace luvir;

namespace {

CalibSites sitesOf(const char *name)
{
    QFile file(QStringLiteral(LUVIR_CALIB_DATA_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? readCalibCsv(file.readAll()).sites : CalibSites {};
}

TEST(CalibText, NumbersTakeTheSeparatorAndStayOffTheirLimits)
{
    const QString comma = QStringLiteral(",");
    EXPECT_EQ(calibNumber(1.005, 2, comma), QStringLiteral("1,00")); // 1.005 is held as 1.00499…
    EXPECT_EQ(calibNumber(-3.456, 2, comma), QStringLiteral("−3,46"));
    EXPECT_EQ(calibNumber(-0.001, 2, comma), QStringLiteral("0,00"));
    EXPECT_EQ(calibNumber(2.5, 1, QStringLiteral(".")), QStringLiteral("2.5"));
    EXPECT_EQ(calibNumberBeside(0.69807, 2, 0.7, comma), QStringLiteral("0,698"));
    EXPECT_EQ(calibNumberBeside(0.6999996, 2, 0.7, comma), QStringLiteral("0,6999996"));
    EXPECT_EQ(calibNumberBeside(15.0664, 1, 15, comma), QStringLiteral("15,1"));
    EXPECT_EQ(calibNumberBeside(15.03, 1, 15, comma), QStringLiteral("15,03"));
    EXPECT_EQ(calibNumberBeside(0.93, 2, 0.7, comma), QStringLiteral("0,93"));

    EXPECT_EQ(moreTestsText(1), QStringLiteral("нужно ещё 1 прямое испытание"));
    EXPECT_EQ(moreTestsText(2), QStringLiteral("нужно ещё 2 прямых испытания"));
    EXPECT_EQ(moreTestsText(3), QStringLiteral("нужно ещё 3 прямых испытания"));
}

TEST(CalibText, KcLines)
{
    const CalibSites sites = sitesOf("kc-spread-changes-kc.csv");
    const QStringList lines = coincidenceFactorLines(sites, coincidenceFactor(sites), QStringLiteral(","));
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines.at(0), QStringLiteral("Участок\tH, МПа\tR прямой, МПа\tq = R / H\tУчёт"));
    EXPECT_EQ(lines.at(1),
        QStringLiteral("1\t24,00\t17,6\t0,733\tне учтён: отличается от Kc = 1,052 более чем на 15 %"));
    EXPECT_EQ(lines.at(2), QStringLiteral("2\t25,00\t25,1\t1,004\tучтён"));
    EXPECT_EQ(lines.at(8), QStringLiteral("Kc = 1,03 (учтено участков: 4 из 7)"));

    const CalibSites limits = sitesOf("kc-limits.csv");
    EXPECT_EQ(coincidenceFactorLines(limits, coincidenceFactor(limits), QStringLiteral(".")).at(4),
        QStringLiteral("4\t27.00\t37.0\t1.370\tне учтён: вне 0.7…1.3"));

    const CalibSites few = sitesOf("kc-too-few.csv");
    EXPECT_EQ(coincidenceFactorLines(few, coincidenceFactor(few), QStringLiteral(",")).last(),
        QStringLiteral(
            "Kc не установлен: учтено участков 2 из 4, нужно не менее 3; нужно ещё 1 прямое испытание"));
}

TEST(CalibText, DependencyLines)
{
    const CalibSites sites = sitesOf("r-just-under.csv");
    const QStringList lines = ownDependencyLines(sites, ownDependency(sites), QStringLiteral(","));
    ASSERT_EQ(lines.size(), 23);
    EXPECT_EQ(
        lines.at(0), QStringLiteral("Участок\tH, МПа\tR прямой, МПа\tR по зависимости, МПа\tОтбраковка"));
    EXPECT_EQ(lines.at(1), QStringLiteral("1\t22,00\t26,2\t23,5\t"));
    EXPECT_EQ(lines.mid(13),
        (QStringList {"Зависимость: R = 0,7640·H + 6,72", "a = 0,7640", "b = 6,72 МПа", "S = 2,96 МПа",
            "S/R̄ = 10,7 %", "r = 0,698", "Участков: 12, после отбраковки 12", "Отбракованы: нет",
            "H от 22,00 до 33,00 МПа", "Зависимость не принята: r = 0,698 меньше 0,7"}));

    const CalibSites culled = sitesOf("culling-at-once-differs.csv");
    const QStringList culledLines = ownDependencyLines(culled, ownDependency(culled), QStringLiteral(","));
    EXPECT_EQ(culledLines.at(12), QStringLiteral("К-12\t37,60\t33,6\t37,0\tотбракован (тур 1)"));
    EXPECT_TRUE(culledLines.contains(QStringLiteral("Отбракованы: «К-12» (тур 1), «К-13» (тур 1)")));
    EXPECT_EQ(culledLines.last(),
        QStringLiteral("Зависимость не принята: после отбраковки 11 участков, нужно не менее 12"));

    const CalibSites negative = sitesOf("negative-slope.csv");
    const QStringList negativeLines
        = ownDependencyLines(negative, ownDependency(negative), QStringLiteral(","));
    EXPECT_TRUE(negativeLines.contains(QStringLiteral("Зависимость: R = −0,7965·H + 59,91")))
        << negativeLines.join('\n').toStdString();
    EXPECT_EQ(negativeLines.last(), QStringLiteral("Зависимость принята"));

    const CalibSites spread = sitesOf("spread-just-over.csv");
    EXPECT_EQ(ownDependencyLines(spread, ownDependency(spread), QStringLiteral(",")).last(),
        QStringLiteral("Зависимость не принята: S/R̄ = 15,1 % больше 15 %"));
}

} // namespace
