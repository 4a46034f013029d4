#pragma once
// Градуировочные наборы: the sites where a direct test was made beside the meter, kept in
// the register so that Kc or an own dependency can be computed from them and corrected
// later with newer sites. A site is one register measurement (its indirect value H is the
// measurement's strength divided by its Kc) or a site typed from paper (label and H).

#include "RegisterTypes.h"

#include "AppliedDependency.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

namespace luvir {

class Register;

// The direct method of a set.
enum class DirectMethod {
    PullOff = 0, // отрыв со скалыванием
    EdgeShear = 1, // скалывание ребра
    Cores = 2, // испытание кернов
    Cubes = 3, // испытание образцов-кубов
};

// "отрыв со скалыванием", …
QString directMethodName(DirectMethod method);

struct CalibrationSet {
    RegisterId id = 0;
    QString name;
    DirectMethod method = DirectMethod::PullOff;
    QString concrete; // what concrete it is for, free text
    QDate madeOn; // null when not given
    QString notes;
    int revision = 0; // counts its changes: an update of what was read before a change fails
    friend bool operator==(const CalibrationSet &, const CalibrationSet &) = default;
};

struct CalibrationSite {
    RegisterId id = 0;
    RegisterId setId = 0;
    RegisterId measurementId = 0; // 0: typed without a measurement
    QString label; // typed; for a measurement left empty, its site label is shown
    double indirect = 0; // H, MPa: typed, or (read back) the measurement's strength / Kc
    double direct = 0; // the direct method's strength, MPa
    QDate testedOn; // the date of the direct test; null when not given
    QDateTime addedAt; // when the site was added to the set (read back; set by the register)
    // Read back for a measurement: its dependency ("БАЗОВАЯ", "ИНДИВИД.1" …), and why the
    // site cannot be used (its Kc is 0); both empty for a typed site.
    QString dependency;
    QString unusable;
};

// H of a measurement: its stored strength divided by its stored Kc (tenths of MPa over
// hundredths, one division). False, with the reason, when its Kc is 0.
bool indirectValueOf(const ArchiveCell &cell, double &indirect, QString &why);

// Which of a set's sites a dependency is computed on.
enum class SiteChoice {
    All,
    Newest, // its newest 20 (newestSites): the correction of the dependency
};

// The set `setId` as the calibration takes it: its name, its direct method's name, its
// sites (H, R_direct, the date of the direct test) and each measurement's dependency; with
// SiteChoice::Newest only its newest 20 sites. None, with `error` in the user's words, when
// the register has no such set, fails, or one of the sites cannot be used (its Kc is 0).
std::optional<DependencySource> dependencySource(
    Register &reg, RegisterId setId, SiteChoice choice, QString &error);

// A measurement's strength by `dependency` (H is the cell's strength over its Kc); none when
// its Kc is 0.
std::optional<DependencyStrength> strengthByDependency(const AppliedDependency &dependency, const ArchiveCell &cell);

// The strengths of measurements by a dependency, in their order: what the register window's
// column, the statistics and the protocol show.
struct DependencySeries {
    QList<std::optional<DependencyStrength>> strengths; // none: the cell's Kc is 0
    QList<std::int64_t> tenths; // the defined ones in tenths of MPa (strengthTenths), in order
    int outside = 0; // how many of them lie outside [Hmin, Hmax]
};
DependencySeries dependencySeries(const AppliedDependency &dependency, const QList<ArchiveCell> &cells);

} // namespace luvir
