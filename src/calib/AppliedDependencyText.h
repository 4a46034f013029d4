#pragma once
// The Russian texts of an applied dependency, as the register window, the statistics and
// the protocol show it, numbers with the user's decimal separator.

#include "AppliedDependency.h"

namespace luvir {

// The mark of results obtained with a Kc from this program.
inline const QString kKcDirectMark = QStringLiteral("с привязкой к прямому методу: класс бетона только по схеме Г");

// "собственная градуировочная зависимость R = 0,9120·H + 3,45" or "Kc = 1,08".
QString appliedDependencyTitle(const AppliedDependency &dependency, const QString &separator);

// The dependency named with its figures, one line each: what it is and from which set; the
// parameters (a, b, S, r, Hmin, Hmax, N) or Kc with its number of sites; the direct method;
// the day it was applied.
QStringList appliedDependencyLines(const AppliedDependency &dependency, const QString &separator);

// "31,2", or "(31,2)" for a strength whose H lies outside the dependency's range.
QString dependencyStrengthText(const DependencyStrength &strength, const QString &separator);

// Whether the conditions of use are met for `outside` of `total` values:
// "Условия применения выполнены: все значения H в диапазоне 18,20…41,00 МПа" or
// "Условия применения не выполнены: 2 из 15 значений H вне диапазона 18,20…41,00 МПа
// (прочность по зависимости в скобках)"; for Kc, the mark of its results.
QString dependencyConditionsText(
    const AppliedDependency &dependency, int outside, int total, const QString &separator);

// "учтён" / "отбракован" (own) or "учтён" / "не учтён" (Kc).
QString appliedSiteStandingText(const AppliedDependency &dependency, const AppliedSite &site);

} // namespace luvir
