#pragma once
// The figures a series of strengths is judged by: n, Rmin, Rmax, the mean Rm, the sample
// standard deviation Sm and the coefficient of variation Vm.
//
// Rm, Sm and Vm are kept unrounded (double) and, for display, rounded to tenths half away
// from zero. The rounding is decided exactly on whole numbers: the strengths are whole
// tenths of MPa, so the mean is a fraction and Sm and Vm are square roots of fractions,
// and a figure that lies exactly on a half (25.35, 0.05) rounds up however the binary
// value of the double happens to fall.

#include "Measurement.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace luvir {

struct SeriesFigures {
    int count = 0;
    QString minimumText; // Rmin and Rmax as the table writes them; empty without measurements
    QString maximumText;
    std::optional<double> mean; // Rm, MPa; none without measurements
    std::optional<double> deviation; // Sm, MPa; none for fewer than two measurements
    std::optional<double> variation; // Vm, %; none without Sm or when Rm is 0
    // The same three rounded to whole tenths (of MPa, of a per cent) for display.
    std::optional<std::int64_t> meanTenths;
    std::optional<std::int64_t> deviationTenths;
    std::optional<std::int64_t> variationTenths;
};

// The figures of `measurements`; Rmin and Rmax are written with `separator`.
SeriesFigures seriesFigures(const QList<Measurement> &measurements, const QString &separator);

// The figures of strengths given in whole tenths of MPa (the strengths by a calibration
// dependency, which the cells do not hold), rounded as seriesFigures rounds; Rmin and Rmax
// with one decimal and `separator`, a negative one with "−".
SeriesFigures seriesFiguresOfTenths(const QList<std::int64_t> &tenths, const QString &separator);

// A figure in tenths with one decimal ("25,3"), or "—" when it is undefined.
QString tenthsText(const std::optional<std::int64_t> &tenths, const QString &separator);

// The text of an undefined figure: an em dash.
inline const QString kUndefinedFigure = QStringLiteral("\u2014");

} // namespace luvir
