#include "SeriesFigures.h"

#include "CellText.h"

#include <algorithm>
#include <cmath>

namespace luvir {

namespace {

__extension__ typedef unsigned __int128 Wide;

// The nearest whole number to the square root of num / den, halves up (num >= 0, den > 0).
std::uint64_t roundedSquareRoot(Wide num, Wide den)
{
    // r is the rounded root when (r - 1/2)^2 <= num/den < (r + 1/2)^2, i.e. when
    // (2r - 1)^2 den <= 4 num < (2r + 1)^2 den. The double only gives the first guess.
    auto r = static_cast<std::uint64_t>(
        std::llround(std::sqrt(static_cast<long double>(num) / static_cast<long double>(den))));
    const Wide four = 4 * num;
    auto odd = [](std::uint64_t k, bool up) {
        const Wide o = up ? 2 * static_cast<Wide>(k) + 1 : 2 * static_cast<Wide>(k) - 1;
        return o * o;
    };
    while (r > 0 && odd(r, false) * den > four)
        --r;
    while (odd(r, true) * den <= four)
        ++r;
    return r;
}

// Sm and Vm of `figures.count` strengths whose sum is `sum` tenths and the sum of whose
// squares is `squares` tenths squared, given Rm already: none for fewer than two, no Vm
// when the sum is not above 0.
void addSpread(SeriesFigures &figures, std::int64_t sum, std::int64_t squares)
{
    const std::int64_t n = figures.count;
    if (n < 2)
        return;
    // Σ(Rᵢ − Rm)² = (nΣRᵢ² − (ΣRᵢ)²) / n, so Sm² = (nΣRᵢ² − (ΣRᵢ)²) / (n(n − 1)): whole
    // numbers above and below, in tenths squared.
    const std::int64_t spread = n * squares - sum * sum;
    const std::int64_t pairs = n * (n - 1);
    figures.deviation = std::sqrt(static_cast<double>(spread) / static_cast<double>(pairs)) / 10.0;
    figures.deviationTenths
        = static_cast<std::int64_t>(roundedSquareRoot(static_cast<Wide>(spread), static_cast<Wide>(pairs)));
    if (sum <= 0)
        return;
    // Vm in tenths of a per cent is 1000 Sm / Rm; squared: 10⁶ · spread · n / ((n − 1) · sum²).
    figures.variation = *figures.deviation / *figures.mean * 100.0;
    const Wide above = Wide {1000000} * static_cast<Wide>(spread) * static_cast<Wide>(n);
    const Wide below = static_cast<Wide>(n - 1) * static_cast<Wide>(sum) * static_cast<Wide>(sum);
    figures.variationTenths = static_cast<std::int64_t>(roundedSquareRoot(above, below));
}

} // namespace

SeriesFigures seriesFigures(const QList<Measurement> &measurements, const QString &separator)
{
    SeriesFigures figures;
    figures.count = static_cast<int>(measurements.size());
    if (measurements.isEmpty())
        return figures;

    const ArchiveCell *lowest = &measurements.first().cell;
    const ArchiveCell *highest = lowest;
    std::int64_t sum = 0; // tenths
    std::int64_t squares = 0; // tenths squared
    for (const Measurement &m : measurements) {
        const std::uint16_t strength = m.cell.strengthWord();
        if (strength < lowest->strengthWord())
            lowest = &m.cell;
        if (strength > highest->strengthWord())
            highest = &m.cell;
        sum += strength;
        squares += std::int64_t {strength} * strength;
    }
    figures.minimumText = strengthText(*lowest, separator);
    figures.maximumText = strengthText(*highest, separator);

    figures.mean = meanStrength(measurements);
    figures.meanTenths = meanStrengthTenths(measurements);
    addSpread(figures, sum, squares);
    return figures;
}

QString tenthsText(const std::optional<std::int64_t> &tenths, const QString &separator)
{
    if (!tenths)
        return kUndefinedFigure;
    if (*tenths < 0)
        return QStringLiteral("\u2212") + tenthsText(static_cast<std::uint64_t>(-*tenths), separator);
    return tenthsText(static_cast<std::uint64_t>(*tenths), separator);
}

SeriesFigures seriesFiguresOfTenths(const QList<std::int64_t> &tenths, const QString &separator)
{
    SeriesFigures figures;
    figures.count = static_cast<int>(tenths.size());
    if (tenths.isEmpty())
        return figures;
    std::int64_t lowest = tenths.first();
    std::int64_t highest = lowest;
    std::int64_t sum = 0;
    std::int64_t squares = 0;
    for (const std::int64_t t : tenths) {
        lowest = std::min(lowest, t);
        highest = std::max(highest, t);
        sum += t;
        squares += t * t;
    }
    figures.minimumText = tenthsText(std::optional<std::int64_t>(lowest), separator);
    figures.maximumText = tenthsText(std::optional<std::int64_t>(highest), separator);
    const std::int64_t n = figures.count;
    figures.mean = static_cast<double>(sum) / static_cast<double>(n) / 10.0;
    // Halves up, exactly: floor((2·sum + n) / (2n)).
    const std::int64_t twice = 2 * sum + n;
    figures.meanTenths = twice >= 0 ? twice / (2 * n) : -((-twice + 2 * n - 1) / (2 * n));
    addSpread(figures, sum, squares);
    return figures;
}

} // namespace luvir
