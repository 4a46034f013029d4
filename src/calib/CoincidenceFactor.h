#pragma once
// The coincidence coefficient Kc: the meter's own dependency adapted to the concrete at
// hand by direct tests. For each site the ratio q = R_direct / H; ratios outside
// 0.7…1.3 do not count; Kc is the mean of the counted ratios; then every counted ratio
// outside 0.85·Kc…1.15·Kc stops counting and Kc is taken again from the rest, until none
// leaves. At least three ratios must count, or no Kc is given.

#include "CalibSite.h"

#include <optional>

namespace luvir {

inline constexpr int kKcLeastSites = 3;
inline constexpr double kKcRatioLow = 0.7;
inline constexpr double kKcRatioHigh = 1.3;
inline constexpr double kKcSpread = 0.15; // a counted ratio stays within ±15 % of Kc

enum class RatioStanding {
    Counted,
    OutsideLimits, // outside 0.7…1.3
    FarFromMean, // outside ±15 % of the Kc of the round it left in
};

struct SiteRatio {
    double ratio = 0; // q = R_direct / H
    RatioStanding standing = RatioStanding::Counted;
    int round = 0; // FarFromMean: the round (1, 2, …) whose Kc it lay too far from
};

struct CoincidenceFactor {
    CalibRefusal refusal; // when refused, nothing else holds
    QList<SiteRatio> sites; // one per site of the set, in its order
    std::optional<double> kc; // the mean of the counted ratios, when at least 3 count
    QList<double> roundKc; // the mean of each round, the first over every ratio within 0.7…1.3
    int counted = 0;

    bool established() const { return kc.has_value(); }
    // How many more direct tests are needed for a Kc (0 when one is given).
    int moreTestsNeeded() const { return kc ? 0 : kKcLeastSites - counted; }
};

// Refused (with the site named) when a site's H or direct strength is 0 or less.
CoincidenceFactor coincidenceFactor(const CalibSites &sites);

} // namespace luvir
