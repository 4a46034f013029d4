// What applying a calibration to a structure of 1,000 measurements costs, in a register
// file: the set read and computed, the dependency kept on the structure, and the
// structure's measurements read back with the strength by it and its figures, as the
// register window and the statistics do.
#include "Register.h"
#include "SeriesFigures.h"
#include "TestData.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {

using namespace luvir;

ArchiveCell cellNumber(int n)
{
    ArchiveCell cell = test::sampleCell(n);
    cell.setWord(ArchiveCell::ImpactValues + 2 * 13, static_cast<std::uint16_t>(200 + (n & 0x3FFF)));
    cell.setWord(ArchiveCell::ImpactValues + 2 * 14, static_cast<std::uint16_t>(200 + ((n >> 14) & 0x3FFF)));
    cell.setWord(ArchiveCell::Strength, static_cast<std::uint16_t>(150 + n % 300)); // 15.0 … 44.9 MPa
    cell.bytes[ArchiveCell::Kc] = 100;
    cell.bytes[ArchiveCell::Dependency] = 0;
    return cell;
}

// A register holding one structure of `count` measurements and a set of 20 typed sites on
// R = 0.9·H + 3 with a little scatter, whose own dependency is accepted.
struct Bench {
    QTemporaryDir dir;
    Register reg;
    RegisterId structureId = 0;
    RegisterId setId = 0;

    explicit Bench(int count)
    {
        reg.open(dir.filePath(QStringLiteral("register.sqlite")));
        QList<ArchiveCell> cells;
        for (int n = 1; n <= count; ++n)
            cells << cellNumber(n);
        RegisterSource source;
        source.addedAt = QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9));
        source.version = {1, 0};
        source.fileName = QStringLiteral("a.db");
        ImportCounts counts;
        reg.importCells(cells, source, counts);
        QList<RegisterId> ids;
        for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::all()))
            ids << m.id;
        RegisterStructure structure;
        reg.assignNamed(ids, QStringLiteral("Дом"), QStringLiteral("Плита"), std::nullopt, &structure);
        structureId = structure.id;
        setId = reg.addCalibrationSet({0, QStringLiteral("Плиты"), DirectMethod::PullOff, {}, {}, {}, 0});
        for (int i = 0; i < 20; ++i) {
            const double h = 15 + 1.5 * i;
            const double scatter = (i % 3 - 1) * 0.4;
            reg.addCalibrationSite({0, setId, 0, QString::number(i + 1), h, std::round((0.9 * h + 3 + scatter) * 10) / 10,
                QDate(2026, 12, 1), {}, {}, {}});
        }
    }
};

// What the window and the statistics read: the measurements, the dependency, the strengths
// by it and their figures.
int readByDependency(Register &reg, RegisterId structureId)
{
    const QList<RegisterMeasurement> measurements = reg.measurements(MeasurementSelection::ofStructure(structureId));
    const std::optional<AppliedDependency> dependency = reg.structureDependency(structureId);
    QList<ArchiveCell> cells;
    cells.reserve(measurements.size());
    for (const RegisterMeasurement &m : measurements)
        cells << m.cell;
    const DependencySeries series = dependencySeries(*dependency, cells);
    const SeriesFigures figures = seriesFiguresOfTenths(series.tenths, QStringLiteral(","));
    benchmark::DoNotOptimize(figures.mean);
    return series.outside;
}

// Applying: the set read and computed, kept on the structure as read, then read back.
void BM_ApplyToStructure(benchmark::State &state)
{
    Bench bench(int(state.range(0)));
    int outside = 0;
    for (auto _ : state) {
        QString error;
        const auto source = dependencySource(bench.reg, bench.setId, SiteChoice::All, error);
        const DependencyApplication applied = applyDependency(*source, DependencyKind::Own, QDate(2026, 12, 11));
        if (!applied.applied() || !bench.reg.setStructureDependency(*bench.reg.structure(bench.structureId),
                                                                   *applied.dependency)) {
            state.SkipWithError("not applied");
            break;
        }
        outside = readByDependency(bench.reg, bench.structureId);
    }
    state.counters["outside_range"] = outside;
}
BENCHMARK(BM_ApplyToStructure)->Arg(1000)->Unit(benchmark::kMillisecond);

// Reading the structure with the strength by its dependency alone (a refresh).
void BM_ReadByDependency(benchmark::State &state)
{
    Bench bench(int(state.range(0)));
    QString error;
    const auto source = dependencySource(bench.reg, bench.setId, SiteChoice::All, error);
    bench.reg.setStructureDependency(*bench.reg.structure(bench.structureId),
        *applyDependency(*source, DependencyKind::Own, QDate(2026, 12, 11)).dependency);
    for (auto _ : state)
        benchmark::DoNotOptimize(readByDependency(bench.reg, bench.structureId));
}
BENCHMARK(BM_ReadByDependency)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
