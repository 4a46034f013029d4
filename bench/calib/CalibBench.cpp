// What the calibration costs on a set of 1,000 sites: the own dependency (least squares
// with its culling rounds) and Kc (with its rounds), alone and as `luvir-cli calib` does
// them: the file read, the figures and their texts.
#include "CalibCsv.h"
#include "CalibText.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// `count` sites along R = 0.9·H + 3 with a spread of about 1 MPa and every 50th site
// 6 MPa off, so that the dependency culls in more than one round and Kc leaves some
// ratios out. The same every run.
luvir::CalibSites benchSites(int count)
{
    luvir::CalibSites sites;
    std::uint32_t seed = 20261211;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / double(1u << 24) - 0.5; // within ±0.5
    };
    for (int i = 0; i < count; ++i) {
        const double h = 15 + 30 * (next() + 0.5);
        double r = 0.9 * h + 3 + 2 * (next() + next() + next()); // nearly normal, σ 1 MPa
        if (i % 50 == 7)
            r += 6;
        sites << luvir::CalibSite {
            QString::number(i + 1), std::round(h * 10) / 10, std::round(r * 10) / 10, {}};
    }
    return sites;
}

void BM_OwnDependency(benchmark::State &state)
{
    const luvir::CalibSites sites = benchSites(int(state.range(0)));
    int rounds = 0;
    for (auto _ : state) {
        const luvir::OwnDependency fit = luvir::ownDependency(sites);
        rounds = *std::max_element(fit.cullRound.cbegin(), fit.cullRound.cend());
        benchmark::DoNotOptimize(fit.a);
    }
    state.counters["culling_rounds"] = rounds;
}
BENCHMARK(BM_OwnDependency)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_CoincidenceFactor(benchmark::State &state)
{
    const luvir::CalibSites sites = benchSites(int(state.range(0)));
    int rounds = 0;
    for (auto _ : state) {
        const luvir::CoincidenceFactor kc = luvir::coincidenceFactor(sites);
        rounds = int(kc.roundKc.size());
        benchmark::DoNotOptimize(kc.kc);
    }
    state.counters["rounds"] = rounds;
}
BENCHMARK(BM_CoincidenceFactor)->Arg(1000)->Unit(benchmark::kMicrosecond);

// From the file's bytes to the text `luvir-cli calib fit` prints.
void BM_FitFromFileToText(benchmark::State &state)
{
    const QByteArray bytes = luvir::writeCalibCsv(benchSites(int(state.range(0))), QStringLiteral(","));
    for (auto _ : state) {
        const luvir::CalibCsv csv = luvir::readCalibCsv(bytes);
        const QStringList lines
            = luvir::ownDependencyLines(csv.sites, luvir::ownDependency(csv.sites), QStringLiteral(","));
        benchmark::DoNotOptimize(lines.size());
    }
}
BENCHMARK(BM_FitFromFileToText)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_KcFromFileToText(benchmark::State &state)
{
    const QByteArray bytes = luvir::writeCalibCsv(benchSites(int(state.range(0))), QStringLiteral(","));
    for (auto _ : state) {
        const luvir::CalibCsv csv = luvir::readCalibCsv(bytes);
        const QStringList lines = luvir::coincidenceFactorLines(
            csv.sites, luvir::coincidenceFactor(csv.sites), QStringLiteral(","));
        benchmark::DoNotOptimize(lines.size());
    }
}
BENCHMARK(BM_KcFromFileToText)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace
