#include "OwnDependency.h"

#include "CalibRefusals.h"

#include <algorithm>
#include <cmath>

namespace luvir {

namespace {

// A residual spread this small against the strengths is rounding, not scatter: the sites
// lie on the line and none is culled.
constexpr double kRoundingSpread = 1e-12;

struct Line {
    double a = 0;
    double b = 0;
    double s = 0;
    double meanDirect = 0;
    bool defined = false; // false: the kept sites' H are all the same
};

// Least squares over the kept sites (two passes, about the means, for precision).
Line fitLine(const CalibSites &sites, const QList<int> &cullRound)
{
    Line line;
    double sumH = 0;
    double sumR = 0;
    int n = 0;
    for (qsizetype i = 0; i < sites.size(); ++i)
        if (cullRound.at(i) == 0) {
            sumH += sites.at(i).indirect;
            sumR += sites.at(i).direct;
            ++n;
        }
    const double meanH = sumH / n;
    line.meanDirect = sumR / n;
    double sxx = 0;
    double sxy = 0;
    for (qsizetype i = 0; i < sites.size(); ++i)
        if (cullRound.at(i) == 0) {
            const double dh = sites.at(i).indirect - meanH;
            sxx += dh * dh;
            sxy += dh * (sites.at(i).direct - line.meanDirect);
        }
    if (sxx == 0)
        return line;
    line.defined = true;
    line.a = sxy / sxx;
    line.b = line.meanDirect - line.a * meanH;
    double squares = 0;
    for (qsizetype i = 0; i < sites.size(); ++i)
        if (cullRound.at(i) == 0) {
            const double d = line.a * sites.at(i).indirect + line.b - sites.at(i).direct;
            squares += d * d;
        }
    line.s = std::sqrt(squares / (n - 2));
    return line;
}

// The correlation of R_dep with R_direct over the kept sites; 0 when either is constant.
double correlation(const CalibSites &sites, const QList<int> &cullRound, const Line &line)
{
    double sumDep = 0;
    int n = 0;
    for (qsizetype i = 0; i < sites.size(); ++i)
        if (cullRound.at(i) == 0) {
            sumDep += line.a * sites.at(i).indirect + line.b;
            ++n;
        }
    const double meanDep = sumDep / n;
    double sdd = 0;
    double srr = 0;
    double sdr = 0;
    for (qsizetype i = 0; i < sites.size(); ++i)
        if (cullRound.at(i) == 0) {
            const double dd = line.a * sites.at(i).indirect + line.b - meanDep;
            const double dr = sites.at(i).direct - line.meanDirect;
            sdd += dd * dd;
            srr += dr * dr;
            sdr += dd * dr;
        }
    if (sdd == 0 || srr == 0)
        return 0;
    return std::clamp(sdr / std::sqrt(sdd * srr), 0.0, 1.0);
}

bool allIndirectEqual(const CalibSites &sites)
{
    return std::all_of(sites.cbegin(), sites.cend(),
        [&](const CalibSite &site) { return site.indirect == sites.first().indirect; });
}

} // namespace

OwnDependency ownDependency(const CalibSites &sites)
{
    OwnDependency result;
    if (sites.size() < kFitLeastSites) {
        result.refusal.message = QStringLiteral("Для зависимости нужно не менее %1 участков, в наборе %2")
                                     .arg(kFitLeastSites)
                                     .arg(sites.size());
        return result;
    }
    result.refusal = refuseNonPositive(sites);
    if (result.refusal.refused())
        return result;
    if (allIndirectEqual(sites)) {
        result.refusal.message
            = QStringLiteral("Все косвенные значения H равны: по ним нельзя построить зависимость");
        return result;
    }

    result.sitesBefore = int(sites.size());
    result.cullRound = QList<int>(sites.size(), 0);
    Line line = fitLine(sites, result.cullRound);
    for (int round = 1;; ++round) {
        if (!line.defined) {
            result.refusal.message = QStringLiteral("После отбраковки все оставшиеся косвенные значения H "
                                                    "равны: по ним нельзя построить зависимость");
            return result;
        }
        if (line.s <= kRoundingSpread * line.meanDirect)
            break;
        bool culled = false;
        for (qsizetype i = 0; i < sites.size(); ++i)
            if (result.cullRound.at(i) == 0
                && std::abs(line.a * sites.at(i).indirect + line.b - sites.at(i).direct) / line.s
                    > kFitCullLimit) {
                result.cullRound[i] = round;
                culled = true;
            }
        if (!culled)
            break;
        line = fitLine(sites, result.cullRound);
    }

    result.a = line.a;
    result.b = line.b;
    result.s = line.s;
    result.meanDirect = line.meanDirect;
    result.r = correlation(sites, result.cullRound, line);
    bool first = true;
    for (qsizetype i = 0; i < sites.size(); ++i)
        if (result.cullRound.at(i) == 0) {
            const double h = sites.at(i).indirect;
            result.hMin = first ? h : std::min(result.hMin, h);
            result.hMax = first ? h : std::max(result.hMax, h);
            first = false;
            ++result.sitesKept;
        }

    if (result.s > kFitSpreadLimit * result.meanDirect)
        result.failures << FitFailure::SpreadTooWide;
    if (result.r < kFitLeastCorrelation)
        result.failures << FitFailure::CorrelationTooWeak;
    if (result.sitesKept < kFitAcceptedSites)
        result.failures << FitFailure::TooFewSites;
    return result;
}

} // namespace luvir
