// What the register costs: adding a full meter's 999 cells, new and again; and, on a
// register of 100,000 measurements in 500 structures, opening it as the register window
// does (objects, structures, counts), listing "Не распределены" and a structure of 1,000
// measurements, a date filter, and the file's size per measurement.
#include "Register.h"
#include "TestData.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace luvir;

namespace {

constexpr int kBig = 100000;
constexpr int kStructures = 500;
constexpr int kLargeStructure = 1000; // structure 1
constexpr int kUnassigned = 2000; // the last ones added

// A measurement that no other number gives (n < 2^28).
ArchiveCell distinctCell(int n)
{
    ArchiveCell cell = test::sampleCell(n);
    cell.setWord(ArchiveCell::ImpactValues + 2 * 13, static_cast<std::uint16_t>(200 + (n & 0x3FFF)));
    cell.setWord(ArchiveCell::ImpactValues + 2 * 14, static_cast<std::uint16_t>(200 + ((n >> 14) & 0x3FFF)));
    return cell;
}

QList<ArchiveCell> distinctCells(int first, int count)
{
    QList<ArchiveCell> cells;
    for (int n = first; n < first + count; ++n)
        cells << distinctCell(n);
    return cells;
}

RegisterSource source()
{
    RegisterSource s;
    s.kind = RegisterSource::Kind::Download;
    s.addedAt = QDateTime::currentDateTime();
    s.version = {1, 0};
    return s;
}

// The large register, made once per run.
struct BigRegister {
    QTemporaryDir dir;
    QString path;
    RegisterId largeStructure = 0;

    BigRegister()
    {
        path = dir.filePath(QStringLiteral("big.sqlite"));
        Register reg;
        reg.open(path);
        for (int first = 0; first < kBig; first += CellArchive::Capacity) {
            RegisterSource s = source();
            ImportCounts counts;
            reg.importCells(
                distinctCells(first, std::min<int>(CellArchive::Capacity, kBig - first)), s, counts);
        }
        QList<RegisterId> structures;
        for (int o = 0; o < 50; ++o) {
            const RegisterId object = reg.addObject({0, QStringLiteral("Объект %1").arg(o), {}, {}, {}});
            for (int s = 0; s < kStructures / 50; ++s)
                structures << reg.addStructure(
                    {0, object, QStringLiteral("Конструкция %1").arg(s), -1, {}, {}, {}});
        }
        largeStructure = structures.first();
        // Ids 1 .. 1,000 to structure 1, the rest but the last 2,000 spread over the other 499.
        QList<QList<RegisterId>> members(kStructures);
        for (RegisterId id = 1; id <= kBig - kUnassigned; ++id)
            members[id <= kLargeStructure ? 0 : 1 + static_cast<int>(id % (kStructures - 1))] << id;
        for (int s = 0; s < kStructures; ++s)
            reg.assign(members[s], structures[s], QStringLiteral("1"));
    }
};

BigRegister &bigRegister()
{
    static BigRegister big;
    return big;
}

void BM_Add999New(benchmark::State &state)
{
    QTemporaryDir dir;
    Register reg;
    reg.open(dir.filePath(QStringLiteral("r.sqlite")));
    int next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QList<ArchiveCell> cells = distinctCells(next, CellArchive::Capacity);
        next += CellArchive::Capacity;
        RegisterSource s = source();
        ImportCounts counts;
        state.ResumeTiming();
        reg.importCells(cells, s, counts);
        if (counts.added != CellArchive::Capacity)
            state.SkipWithError("not every cell was new");
    }
}
BENCHMARK(BM_Add999New)->Unit(benchmark::kMillisecond);

void BM_Add999Again(benchmark::State &state)
{
    QTemporaryDir dir;
    Register reg;
    reg.open(dir.filePath(QStringLiteral("r.sqlite")));
    const QList<ArchiveCell> cells = distinctCells(0, CellArchive::Capacity);
    RegisterSource first = source();
    ImportCounts counts;
    reg.importCells(cells, first, counts);
    for (auto _ : state) {
        RegisterSource s = source();
        reg.importCells(cells, s, counts);
        if (counts.present != CellArchive::Capacity)
            state.SkipWithError("a cell was added twice");
    }
}
BENCHMARK(BM_Add999Again)->Unit(benchmark::kMillisecond);

// What the register window needs to show its tree: open, objects, structures, counts.
// Argument 0: the thorough check (every page read), 1: the quick one of a download.
void BM_OpenBigRegister(benchmark::State &state)
{
    BigRegister &big = bigRegister();
    const auto check = state.range(0) == 0 ? Register::Check::Thorough : Register::Check::Quick;
    for (auto _ : state) {
        Register reg;
        reg.open(big.path, check);
        benchmark::DoNotOptimize(reg.objects());
        benchmark::DoNotOptimize(reg.structures());
        benchmark::DoNotOptimize(reg.measurementCounts());
    }
    state.counters["bytes_per_measurement"] = static_cast<double>(QFileInfo(big.path).size()) / kBig;
}
BENCHMARK(BM_OpenBigRegister)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void listBig(benchmark::State &state, const MeasurementSelection &selection, qsizetype expected)
{
    BigRegister &big = bigRegister();
    Register reg;
    reg.open(big.path);
    for (auto _ : state) {
        const QList<RegisterMeasurement> listed = reg.measurements(selection);
        if (expected >= 0 && listed.size() != expected)
            state.SkipWithError("wrong number listed");
        benchmark::DoNotOptimize(listed);
    }
}

void BM_ListUnassigned(benchmark::State &state)
{
    listBig(state, MeasurementSelection::unassigned(), kUnassigned);
}
BENCHMARK(BM_ListUnassigned)->Unit(benchmark::kMillisecond);

void BM_ListStructureOf1000(benchmark::State &state)
{
    listBig(state, MeasurementSelection::ofStructure(bigRegister().largeStructure), kLargeStructure);
}
BENCHMARK(BM_ListStructureOf1000)->Unit(benchmark::kMillisecond);

// One month of the 1,000-measurement structure, and one month of the whole register.
void BM_DateFilterStructure(benchmark::State &state)
{
    MeasurementSelection selection = MeasurementSelection::ofStructure(bigRegister().largeStructure);
    selection.from = QDate(2026, 3, 1);
    selection.to = QDate(2026, 3, 31);
    listBig(state, selection, -1);
}
BENCHMARK(BM_DateFilterStructure)->Unit(benchmark::kMillisecond);

void BM_DateFilterWholeRegister(benchmark::State &state)
{
    MeasurementSelection selection;
    selection.from = QDate(2026, 3, 1);
    selection.to = QDate(2026, 3, 31);
    listBig(state, selection, -1);
}
BENCHMARK(BM_DateFilterWholeRegister)->Unit(benchmark::kMillisecond);

} // namespace
