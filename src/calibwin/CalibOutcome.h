#pragma once
// What the calibration window shows of one set: which of its sites the computation takes
// (and why not the others), Kc or the own dependency computed from them, and the texts of
// each site's row and of the figures under the table, all as CalibText words them.

#include "AppliedDependency.h"
#include "CalibText.h"
#include "RegisterCalibration.h"

#include <QStringList>

namespace luvir {

struct CalibOutcome {
    DependencyKind kind = DependencyKind::Own;
    QList<CalibrationSite> sites; // the set's, as read, in the order they were added
    QList<int> used; // the indexes in `sites` the computation took, in that order
    QStringList notUsed; // per site: why the computation does not take it; empty when it does
    CalibSites input; // the sites computed (`sites` at `used`)
    QString refusal; // the set as a whole cannot be computed this way; nothing below holds
    QString warning; // computed, but the user is told this first (mixed meter dependencies)
    OwnDependency fit; // DependencyKind::Own
    CoincidenceFactor factor; // DependencyKind::Kc

    bool computed() const { return refusal.isEmpty(); }
    // Whether it may be given to a structure: an accepted dependency, an established Kc.
    bool applicable() const
    {
        return computed() && (kind == DependencyKind::Own ? fit.accepted() : factor.established());
    }
};

// Computes the set's sites one way. A site whose measurement cannot be used is left out
// with its reason; so are those older than the newest 20 when `newest20` (newestSites).
// Sites of different meter dependencies (dependencyMix) refuse Kc and warn of the own one.
CalibOutcome calibOutcome(const QList<CalibrationSite> &sites, DependencyKind kind, bool newest20);

// The sites computed, as applying them to a structure takes them (applyDependency): the
// same the window shows, so what is applied is what was seen.
DependencySource dependencySourceOf(const CalibOutcome &outcome, const CalibrationSet &set);

// The columns of the window's site table.
enum CalibColumn {
    SiteLabel,
    SiteIndirect,
    SiteDirect,
    SiteDate,
    SiteDependency,
    SiteFigure, // q = R / H, or R by the dependency
    SiteStanding, // counted or not, culled or kept, or why not computed
    CalibColumnCount,
};

QStringList calibColumnTitles(DependencyKind kind);
// The texts of site `index`'s row, numbers with `separator`.
QStringList calibSiteRow(const CalibOutcome &outcome, int index, const QString &separator);
// Every site's row, in the set's order (the computed texts worded once for all of them).
QList<QStringList> calibSiteRows(const CalibOutcome &outcome, const QString &separator);
// The lines under the table: Kc or the dependency's figures and its verdict; or the refusal.
QStringList calibSummaryLines(const CalibOutcome &outcome, const QString &separator);

} // namespace luvir
