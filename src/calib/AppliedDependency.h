#pragma once
// A calibration applied to a structure: the laboratory's own dependency R = a·H + b or a
// coincidence coefficient Kc, with the figures it had on the day it was applied. They are
// kept as they were (frozen): a protocol printed again later shows the same figures even
// after sites were added to the set or the set was removed; applying again takes the set's
// figures of that day.

#include "CalibSite.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace luvir {

enum class DependencyKind {
    Own = 0, // the laboratory's own dependency, R = a·H + b
    Kc = 1, // the meter's dependency times Kc
};

// The newest sites a set is recomputed on (correction of the dependency).
inline constexpr int kCorrectionSites = 20;

// One site of the set as it stood when the dependency was applied.
struct AppliedSite {
    QString label;
    double indirect = 0; // H, MPa
    double direct = 0; // R_direct, MPa
    bool counted = true; // own: kept (not culled); Kc: its ratio counts
    friend bool operator==(const AppliedSite &, const AppliedSite &) = default;
};

struct AppliedDependency {
    DependencyKind kind = DependencyKind::Own;
    // Own: the equation and its figures.
    double a = 0;
    double b = 0;
    double s = 0; // residual standard deviation S, MPa
    double r = 0;
    double hMin = 0; // the range of H the dependency may be used in
    double hMax = 0;
    int sitesKept = 0; // N after culling
    int sitesBefore = 0; // N before culling
    bool accepted = false;
    // Kc: as computed (unrounded) and the number of sites whose ratios counted.
    double kc = 0;
    int kcSites = 0;
    // Where it came from.
    qint64 setId = 0; // the calibration set; 0 once the set is removed
    QString setName;
    QString methodName; // the set's direct method, "отрыв со скалыванием" …
    QDate appliedOn;
    QList<AppliedSite> sites; // every site of the computation, in the set's order

    friend bool operator==(const AppliedDependency &, const AppliedDependency &) = default;
};

// Kc as the engineer types it into the meter and as this program uses it: the two
// decimals the program shows it with (the double's value rounded to nearest).
double kcAsTyped(double kc);

struct DependencyStrength {
    double strength = 0; // MPa, unrounded
    bool withinRange = true; // H within [Hmin, Hmax]; a Kc is always within
};

// The strength at H by `dependency`: own, a·H + b, within its range when Hmin ≤ H ≤ Hmax
// (the ends included); Kc, kcAsTyped(kc)·H, always within.
DependencyStrength strengthBy(const AppliedDependency &dependency, double h);

// The same strength in whole tenths of MPa, halves away from zero (a value within 1e-9 of
// a tenth from a half counts as the half), as the tables, the statistics and the protocol
// show it.
qint64 strengthTenths(double strength);

// A calibration set as the calibration needs it: its sites and, for each, the meter's
// dependency its H was read under ("БАЗОВАЯ", "ИНДИВИД.1" …; empty for a site typed
// from paper, whose dependency is not known).
struct DependencySource {
    qint64 setId = 0;
    QString setName;
    QString methodName;
    CalibSites sites;
    QStringList dependencies; // one per site; may be empty (none known)
};

// Sites of a set taken under different meter dependencies. Sites whose dependency is not
// known are left out. `differing`: the sites outside the largest group (the first one met
// when two are as large), which are named in the message.
struct DependencyMix {
    QStringList dependencies; // the distinct ones, in order of first appearance
    QList<qsizetype> differing; // indexes of the sites outside the largest group
    QString message; // Russian; empty when not mixed
    bool refused = false; // Kc: a mixed set is refused; own: only warned

    bool mixed() const { return dependencies.size() > 1; }
};

// The check of a set before a Kc or an own dependency is computed or applied: the window
// and the command line both call it.
DependencyMix dependencyMix(const DependencySource &source, DependencyKind kind);

// The sites a set is recomputed on: its newest `count`, by the date of the direct test
// (a site without one counts as older than any dated), then by when it was added to the set
// (`addedAt`, one per site; the later is newer), then by its place in the set. The indexes
// chosen, in the set's order; all of them when the set has `count` or fewer.
QList<qsizetype> newestSites(
    const CalibSites &sites, const QList<QDateTime> &addedAt, int count = kCorrectionSites);

// What applying a set gives: the dependency, or why it cannot be applied; and a warning
// to show beside it (an own dependency over mixed meter dependencies).
struct DependencyApplication {
    std::optional<AppliedDependency> dependency;
    QString refusal; // Russian; empty when applied
    QString warning; // Russian; empty when none

    bool applied() const { return dependency.has_value(); }
};

// Computes the dependency of `kind` from the source's sites and freezes it, dated
// `appliedOn`. Refused: an own dependency not accepted ("… не принята, её нельзя
// применить: …" with each failed condition), a Kc not established (with how many more
// direct tests are needed), a set the computation refuses, and a Kc over mixed meter
// dependencies.
DependencyApplication applyDependency(const DependencySource &source, DependencyKind kind, const QDate &appliedOn);

} // namespace luvir
