#pragma once
// The results in Russian, as the window and the command line show them, numbers with the
// user's decimal separator: Kc to two decimals (the precision the meter keeps and the
// engineer types it in), each site's ratio and whether it counts; the dependency's
// equation and figures, its culled sites and whether it is accepted.

#include "CoincidenceFactor.h"
#include "OwnDependency.h"

#include <QStringList>

namespace luvir {

// `value` with `decimals` decimals and `separator`; a negative one with "−".
QString calibNumber(double value, int decimals, const QString &separator);

// The same, with more decimals (up to 9) when `decimals` would show `value` as `limit`
// while it is not: a figure just past a limit never reads as the limit itself.
QString calibNumberBeside(double value, int decimals, double limit, const QString &separator);

// "учтён", or why not: "вне 0,7…1,3", "дальше 15 % от Kc = 1,02".
QString ratioStandingText(const SiteRatio &ratio, const CoincidenceFactor &factor, const QString &separator);

// "нужно ещё 2 прямых испытания".
QString moreTestsText(int count);

// A site table (tab-separated, a title line first) and the lines under it.
QStringList coincidenceFactorLines(
    const CalibSites &sites, const CoincidenceFactor &factor, const QString &separator);

// Why the dependency is not accepted, one text per failed condition.
QString fitFailureText(FitFailure failure, const OwnDependency &fit, const QString &separator);

// "R = 0,9120·H + 3,45".
QString equationText(const OwnDependency &fit, const QString &separator);

QStringList ownDependencyLines(const CalibSites &sites, const OwnDependency &fit, const QString &separator);

} // namespace luvir
