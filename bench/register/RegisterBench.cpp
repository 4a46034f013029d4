// What the register costs: adding a full meter's 999 cells, new and again, and four
// clients adding 999 each at once; and, on a register of 100,000 measurements in 500
// structures, opening it as the register window does (objects, structures, counts),
// listing "Не распределены" and a structure of 1,000 measurements, a date filter, and the
// file's size per measurement.
// Each on a file (argument 0) and on a PostgreSQL server (argument 1): the server is the
// throwaway one scripts/bench.sh starts (LUVIR_BENCH_PG_DIR, its folder); without it the
// server's runs are skipped.
#include "Register.h"
#include "RegisterWindow.h"
#include "TestData.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QUuid>

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace luvir;

namespace {

// The throwaway server's connection.env, or nothing when no server was started.
QHash<QString, QString> serverSettings()
{
    QHash<QString, QString> settings;
    QFile file(qEnvironmentVariable("LUVIR_BENCH_PG_DIR") + QStringLiteral("/connection.env"));
    if (!qEnvironmentVariableIsEmpty("LUVIR_BENCH_PG_DIR") && file.open(QIODevice::ReadOnly))
        for (const QByteArray &line : file.readAll().split('\n'))
            if (const qsizetype eq = line.indexOf('='); eq > 0)
                settings.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    return settings;
}

// A location for a new register: a file in `dir`, or (engine 1) a new database on the server;
// empty when there is no server.
QString newLocation(int engine, const QTemporaryDir &dir)
{
    if (engine == 0)
        return dir.filePath(QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".sqlite"));
    const auto settings = serverSettings();
    if (settings.isEmpty())
        return {};
    qputenv("PGPASSWORD", settings.value("PGPASSWORD").toUtf8());
    const QString name = QStringLiteral("bench_") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
        db.setHostName(settings.value("PGHOST"));
        db.setPort(settings.value("PGPORT").toInt());
        db.setUserName(settings.value("PGUSER"));
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("CREATE DATABASE ") + name))
            return {};
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
    return QStringLiteral("postgresql://%1@%2:%3/%4")
        .arg(settings.value("PGUSER"), settings.value("PGHOST"), settings.value("PGPORT"), name);
}

// Opens a new register of the benchmark's engine; false (the run skipped) without a server.
bool openNew(benchmark::State &state, Register &reg, const QTemporaryDir &dir)
{
    const QString location = newLocation(static_cast<int>(state.range(0)), dir);
    if (location.isEmpty() || reg.open(location) != Register::OpenStatus::Ok) {
        state.SkipWithError("no PostgreSQL server (scripts/bench.sh starts one)");
        return false;
    }
    return true;
}

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

// The large register, made once per run and engine.
struct BigRegister {
    QTemporaryDir dir;
    QString path;
    RegisterId largeStructure = 0;

    explicit BigRegister(int engine)
    {
        path = newLocation(engine, dir);
        Register reg;
        if (path.isEmpty() || reg.open(path) != Register::OpenStatus::Ok) {
            path.clear();
            return;
        }
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

BigRegister &bigRegister(int engine)
{
    static BigRegister file(0);
    if (engine == 0)
        return file;
    static BigRegister server(1);
    return server;
}

void BM_Add999New(benchmark::State &state)
{
    QTemporaryDir dir;
    Register reg;
    if (!openNew(state, reg, dir))
        return;
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
BENCHMARK(BM_Add999New)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Add999Again(benchmark::State &state)
{
    QTemporaryDir dir;
    Register reg;
    if (!openNew(state, reg, dir))
        return;
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
BENCHMARK(BM_Add999Again)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Four clients, each with its own connection on its own thread, adding 999 new cells each
// at the same moment; the time until the last one is done.
void BM_FourClientsAdd999Each(benchmark::State &state)
{
    QTemporaryDir dir;
    Register first;
    if (!openNew(state, first, dir))
        return;
    const QString location = first.fileName();
    first.close();
    int next = 0;
    for (auto _ : state) {
        std::vector<std::thread> clients;
        std::atomic<int> failed {0};
        for (int c = 0; c < 4; ++c) {
            clients.emplace_back([&, from = next + c * CellArchive::Capacity] {
                Register reg;
                reg.setBusyTimeout(60000);
                RegisterSource s = source();
                ImportCounts counts;
                if (reg.open(location, Register::Opening::CreateIfMissing) != Register::OpenStatus::Ok
                    || !reg.importCells(distinctCells(from, CellArchive::Capacity), s, counts))
                    ++failed;
            });
        }
        for (std::thread &client : clients)
            client.join();
        next += 4 * CellArchive::Capacity;
        if (failed != 0)
            state.SkipWithError("a client failed");
    }
}
BENCHMARK(BM_FourClientsAdd999Each)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the register window needs to show its tree: open, objects, structures, counts.
// Every way of opening makes the same check.
void BM_OpenBigRegister(benchmark::State &state)
{
    BigRegister &big = bigRegister(static_cast<int>(state.range(0)));
    if (big.path.isEmpty()) {
        state.SkipWithError("no PostgreSQL server (scripts/bench.sh starts one)");
        return;
    }
    for (auto _ : state) {
        Register reg;
        reg.open(big.path, Register::Opening::ExistingOnly);
        benchmark::DoNotOptimize(reg.objects());
        benchmark::DoNotOptimize(reg.structures());
        benchmark::DoNotOptimize(reg.measurementCounts());
    }
    if (state.range(0) == 0)
        state.counters["bytes_per_measurement"] = static_cast<double>(QFileInfo(big.path).size()) / kBig;
}
// Argument: the engine.
BENCHMARK(BM_OpenBigRegister)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void listBig(benchmark::State &state, const MeasurementSelection &selection, qsizetype expected)
{
    BigRegister &big = bigRegister(static_cast<int>(state.range(0)));
    Register reg;
    if (big.path.isEmpty() || reg.open(big.path) != Register::OpenStatus::Ok) {
        state.SkipWithError("no PostgreSQL server (scripts/bench.sh starts one)");
        return;
    }
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
BENCHMARK(BM_ListUnassigned)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ListStructureOf1000(benchmark::State &state)
{
    listBig(state,
        MeasurementSelection::ofStructure(bigRegister(static_cast<int>(state.range(0))).largeStructure),
        kLargeStructure);
}
BENCHMARK(BM_ListStructureOf1000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One month of the 1,000-measurement structure, and one month of the whole register.
void BM_DateFilterStructure(benchmark::State &state)
{
    MeasurementSelection selection
        = MeasurementSelection::ofStructure(bigRegister(static_cast<int>(state.range(0))).largeStructure);
    selection.from = QDate(2026, 3, 1);
    selection.to = QDate(2026, 3, 31);
    listBig(state, selection, -1);
}
BENCHMARK(BM_DateFilterStructure)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DateFilterWholeRegister(benchmark::State &state)
{
    MeasurementSelection selection;
    selection.from = QDate(2026, 3, 1);
    selection.to = QDate(2026, 3, 31);
    listBig(state, selection, -1);
}
BENCHMARK(BM_DateFilterWholeRegister)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The register window on the large register, as the user meets it: opened (the register with
// the quick check, the tree with its counts, "Не распределены" listed in the table), then
// the 1,000-measurement structure chosen, then one month of it filtered.
void BM_WindowOpensOnUnassigned(benchmark::State &state)
{
    BigRegister &big = bigRegister(static_cast<int>(state.range(0)));
    if (big.path.isEmpty()) {
        state.SkipWithError("no PostgreSQL server (scripts/bench.sh starts one)");
        return;
    }
    for (auto _ : state) {
        Register reg;
        reg.open(big.path, Register::Opening::CreateIfMissing);
        RegisterWindow window;
        window.setRegister(&reg);
        if (window.Table->model()->rowCount() != kUnassigned)
            state.SkipWithError("wrong number listed");
    }
}
BENCHMARK(BM_WindowOpensOnUnassigned)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The window showing the large register opened quickly; false, with the reason given to the
// benchmark, when there is none.
bool showBig(benchmark::State &state, BigRegister &big, Register &reg, RegisterWindow &window)
{
    if (big.path.isEmpty() || reg.open(big.path, Register::Opening::CreateIfMissing) != Register::OpenStatus::Ok) {
        state.SkipWithError("no PostgreSQL server (scripts/bench.sh starts one)");
        return false;
    }
    window.setRegister(&reg);
    return true;
}

void BM_WindowShowsStructureOf1000(benchmark::State &state)
{
    BigRegister &big = bigRegister(static_cast<int>(state.range(0)));
    Register reg;
    RegisterWindow window;
    if (!showBig(state, big, reg, window))
        return;
    for (auto _ : state) {
        state.PauseTiming(); // the way back is not what is measured
        window.selectNode(RegisterWindow::NodeKind::Unassigned);
        state.ResumeTiming();
        window.selectNode(RegisterWindow::NodeKind::Structure, big.largeStructure);
        if (window.Table->model()->rowCount() != kLargeStructure)
            state.SkipWithError("wrong number listed");
    }
}
BENCHMARK(BM_WindowShowsStructureOf1000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_WindowDateFilter(benchmark::State &state)
{
    BigRegister &big = bigRegister(static_cast<int>(state.range(0)));
    Register reg;
    RegisterWindow window;
    if (!showBig(state, big, reg, window))
        return;
    window.selectNode(RegisterWindow::NodeKind::Structure, big.largeStructure);
    window.FromDate->setDate(QDate(2026, 3, 1));
    window.ToDate->setDate(QDate(2026, 3, 31));
    window.ToOn->setChecked(true);
    for (auto _ : state) {
        window.FromOn->setChecked(true); // one month listed
        state.PauseTiming();
        window.FromOn->setChecked(false);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowDateFilter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
