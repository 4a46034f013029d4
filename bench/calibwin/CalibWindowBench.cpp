// What the windows cost to show a calibration at the size a laboratory reaches, in a register
// file: the calibration window refreshed on a set of 1,000 sites (read, computed, the table,
// the figures and the chart made anew), and the register window refreshed on a structure of
// 1,000 measurements given that set's own dependency (read, the strength by it in every row,
// sorted, the columns sized).
#include "CalibrationWindow.h"
#include "Register.h"
#include "RegisterWindow.h"
#include "TestData.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cmath>

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

// One structure of 1,000 measurements and a set of 1,000 typed sites on R = 0.9·H + 3 with
// a little scatter, its own dependency given to the structure.
struct Bench {
    static constexpr int kCount = 1000;
    QTemporaryDir dir;
    Register reg;
    RegisterId structureId = 0;
    RegisterId setId = 0;

    Bench()
    {
        reg.open(dir.filePath(QStringLiteral("register.sqlite")));
        QList<ArchiveCell> cells;
        for (int n = 1; n <= kCount; ++n)
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
        CalibSites sites;
        QStringList dependencies;
        for (int i = 0; i < kCount; ++i) {
            const double h = 15 + 0.03 * i;
            const double direct = std::round((0.9 * h + 3 + (i % 3 - 1) * 0.4) * 10) / 10;
            reg.addCalibrationSite(
                {0, setId, 0, QString::number(i + 1), h, direct, QDate(2026, 12, 1), {}, {}, {}});
            sites << CalibSite {QString::number(i + 1), h, direct, {}};
            dependencies << QString();
        }
        const DependencyApplication applied = applyDependency(
            {setId, QStringLiteral("Плиты"), QStringLiteral("отрыв со скалыванием"), sites, dependencies},
            DependencyKind::Own, QDate(2026, 12, 11));
        reg.setStructureDependency(*reg.structure(structureId), *applied.dependency);
    }
};

void calibrationWindowOf1000Sites(benchmark::State &state)
{
    Bench bench;
    CalibrationWindow window;
    window.setRegister(&bench.reg);
    window.resize(980, 660);
    window.show();
    if (window.outcome().input.size() != Bench::kCount || !window.outcome().applicable())
        state.SkipWithError("the set was not computed");
    for (auto _ : state)
        window.refresh();
}
BENCHMARK(calibrationWindowOf1000Sites)->Unit(benchmark::kMillisecond);

void registerWindowOf1000MeasurementsByTheDependency(benchmark::State &state)
{
    Bench bench;
    RegisterWindow window;
    window.setRegister(&bench.reg);
    window.resize(980, 660);
    window.show();
    window.selectNode(RegisterWindow::NodeKind::Structure, bench.structureId);
    if (window.listedMeasurements().size() != Bench::kCount)
        state.SkipWithError("the structure was not listed");
    for (auto _ : state)
        window.refresh();
}
BENCHMARK(registerWindowOf1000MeasurementsByTheDependency)->Unit(benchmark::kMillisecond);

} // namespace
