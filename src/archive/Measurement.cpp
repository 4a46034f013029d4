#include "Measurement.h"

#include <algorithm>

namespace luvir {

namespace {

// ΣR in tenths of MPa.
std::int64_t strengthSum(const QList<Measurement> &measurements)
{
    std::int64_t sum = 0;
    for (const Measurement &m : measurements)
        sum += m.cell.strengthWord();
    return sum;
}

} // namespace

QList<Measurement> measurementsOf(const CellArchive &archive)
{
    const int count = std::min<int>(archive.Count, CellArchive::Capacity);
    QList<Measurement> measurements;
    measurements.reserve(count);
    for (int i = 0; i < count; ++i) {
        Measurement m;
        m.cell = archive.Cells[static_cast<std::size_t>(i)];
        m.number = i + 1;
        measurements.append(m);
    }
    return measurements;
}

QList<Measurement> measurementsNumbered(const QList<Measurement> &measurements, int from, int to)
{
    QList<Measurement> chosen;
    for (const Measurement &m : measurements)
        if (m.number >= from && m.number <= to)
            chosen.append(m);
    return chosen;
}

std::optional<double> meanStrength(const QList<Measurement> &measurements)
{
    if (measurements.isEmpty())
        return std::nullopt;
    return static_cast<double>(strengthSum(measurements)) / static_cast<double>(measurements.size()) / 10.0;
}

std::optional<std::int64_t> meanStrengthTenths(const QList<Measurement> &measurements)
{
    if (measurements.isEmpty())
        return std::nullopt;
    // The nearest whole number to sum / n, halves up (both are positive).
    const std::int64_t n = measurements.size();
    return (2 * strengthSum(measurements) + n) / (2 * n);
}

} // namespace luvir
