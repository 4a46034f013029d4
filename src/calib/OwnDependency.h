#pragma once
// The laboratory's own dependency R = a·H + b: ordinary least squares over the sites,
// S = √(Σ(R_dep − R_direct)² / (N − 2)); every site with |R_dep − R_direct| / S > 2 is
// culled at once, the line fitted again on the rest, and so on until none is culled.
// r is the correlation of R_dep with R_direct over the kept sites. Accepted only when
// S ≤ 15 % of the kept sites' mean direct strength, r ≥ 0.7 and at least 12 sites are kept.

#include "CalibSite.h"

namespace luvir {

inline constexpr int kFitLeastSites = 3; // fewer: refused
inline constexpr int kFitAcceptedSites = 12;
inline constexpr double kFitCullLimit = 2; // |R_dep − R_direct| / S above it: culled
inline constexpr double kFitSpreadLimit = 0.15; // S / R̄ at most
inline constexpr double kFitLeastCorrelation = 0.7;

// A condition of acceptance the dependency fails.
enum class FitFailure {
    SpreadTooWide, // S > 15 % of R̄
    CorrelationTooWeak, // r < 0.7
    TooFewSites, // fewer than 12 kept
};

struct OwnDependency {
    CalibRefusal refusal; // when refused, nothing else holds
    double a = 0; // slope
    double b = 0; // intercept, MPa
    double s = 0; // residual standard deviation S, MPa
    double meanDirect = 0; // R̄ of the kept sites
    double r = 0; // 0 when undefined (R_dep or R_direct constant)
    int sitesBefore = 0;
    int sitesKept = 0;
    QList<int> cullRound; // per site: 0 kept, else the round (1, 2, …) it was culled in
    double hMin = 0, hMax = 0; // of the kept sites
    QList<FitFailure> failures; // empty: accepted

    bool accepted() const { return !refusal.refused() && failures.isEmpty(); }
    double spreadPercent() const { return s / meanDirect * 100; }
    // The dependency's strength at `h`.
    double strengthAt(double h) const { return a * h + b; }
};

// Refused when there are fewer than 3 sites, a direct strength or H is 0 or less, or
// every H is the same (before or after culling).
OwnDependency ownDependency(const CalibSites &sites);

} // namespace luvir
