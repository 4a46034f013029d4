#include "CoincidenceFactor.h"

#include "CalibRefusals.h"

namespace luvir {

namespace {

// The mean of the ratios still counted; nullopt when none is.
std::optional<double> meanOfCounted(const QList<SiteRatio> &sites)
{
    double sum = 0;
    int count = 0;
    for (const SiteRatio &site : sites)
        if (site.standing == RatioStanding::Counted) {
            sum += site.ratio;
            ++count;
        }
    return count == 0 ? std::nullopt : std::optional<double>(sum / count);
}

} // namespace

CoincidenceFactor coincidenceFactor(const CalibSites &sites)
{
    CoincidenceFactor result;
    result.refusal = refuseNonPositive(sites);
    if (result.refusal.refused())
        return result;

    for (const CalibSite &site : sites) {
        SiteRatio ratio;
        ratio.ratio = site.direct / site.indirect;
        if (ratio.ratio < kKcRatioLow || ratio.ratio > kKcRatioHigh)
            ratio.standing = RatioStanding::OutsideLimits;
        result.sites << ratio;
    }

    std::optional<double> kc = meanOfCounted(result.sites);
    for (int round = 1; kc; ++round) {
        result.roundKc << *kc;
        const double low = (1 - kKcSpread) * *kc;
        const double high = (1 + kKcSpread) * *kc;
        bool left = false;
        for (SiteRatio &site : result.sites)
            if (site.standing == RatioStanding::Counted && (site.ratio < low || site.ratio > high)) {
                site.standing = RatioStanding::FarFromMean;
                site.round = round;
                left = true;
            }
        if (!left)
            break;
        kc = meanOfCounted(result.sites);
    }

    for (const SiteRatio &site : result.sites)
        result.counted += site.standing == RatioStanding::Counted ? 1 : 0;
    if (result.counted >= kKcLeastSites)
        result.kc = kc;
    return result;
}

} // namespace luvir
