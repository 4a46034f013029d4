// The register at the size a laboratory reaches (100,000 measurements), as a command meets
// it: opening with its check, then adding a download of 999 new cells, then closing; beside
// the floor, a minimal de-duplicating SQLite file of the same size filled the same way, with
// its source links and the same settings for the log and the disk; and
// the fixed cost of opening, on a small register and on the large one, beside SQLite's own
// page-by-page check that every command once paid.
#include "Register.h"
#include "TestData.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace luvir;

namespace {

constexpr int kLarge = 100000;
constexpr int kSmall = 1000;
constexpr int kDownload = CellArchive::Capacity;

ArchiveCell cellNumber(int n)
{
    ArchiveCell cell = test::sampleCell(n);
    cell.setWord(ArchiveCell::ImpactValues + 2 * 13, static_cast<std::uint16_t>(200 + (n & 0x3FFF)));
    cell.setWord(ArchiveCell::ImpactValues + 2 * 14, static_cast<std::uint16_t>(200 + ((n >> 14) & 0x3FFF)));
    return cell;
}

QList<ArchiveCell> cellsFrom(int first, int count)
{
    QList<ArchiveCell> cells;
    for (int n = first; n < first + count; ++n)
        cells << cellNumber(n);
    return cells;
}

// A meter's next download: new cells taken after every cell the register holds (the
// register's cells are of 2026, these of 2027), as a laboratory's downloads come.
QList<ArchiveCell> newestCellsFrom(int first, int count)
{
    QList<ArchiveCell> cells = cellsFrom(first, count);
    for (ArchiveCell &cell : cells)
        cell.bytes[ArchiveCell::Year] = 27;
    return cells;
}

RegisterSource download()
{
    RegisterSource source;
    source.kind = RegisterSource::Kind::Download;
    source.addedAt = QDateTime::currentDateTime();
    source.version = {1, 0};
    source.serialNumber = QStringLiteral("1234");
    return source;
}

// A register of `size` measurements, added as downloads of 999, made once per size.
struct SizedRegister {
    QTemporaryDir dir;
    QString path;
    explicit SizedRegister(int size)
    {
        path = dir.filePath(QStringLiteral("register.sqlite"));
        Register reg;
        if (reg.open(path) != Register::OpenStatus::Ok) {
            path.clear();
            return;
        }
        for (int first = 0; first < size; first += kDownload) {
            RegisterSource source = download();
            ImportCounts counts;
            reg.importCells(cellsFrom(first, std::min(kDownload, size - first)), source, counts);
        }
    }
};

SizedRegister &sizedRegister(int size)
{
    static SizedRegister small(kSmall);
    static SizedRegister large(kLarge);
    return size == kSmall ? small : large;
}

// The floor: the same work in plain SQLite, as little of it as the register's guarantees
// allow. One table of cells, each unique, one of sources and one of which cell came from which
// source; the same log, the same commit to disk and the same memory for pages as the register.
struct FloorFile {
    QTemporaryDir dir;
    QByteArray path;
    FloorFile()
    {
        path = QFile::encodeName(dir.filePath(QStringLiteral("floor.sqlite")));
        sqlite3 *db = open(path);
        sqlite3_exec(db,
            "CREATE TABLE cells (id INTEGER PRIMARY KEY, cell BLOB NOT NULL UNIQUE);"
            "CREATE TABLE sources (id INTEGER PRIMARY KEY, added_at TEXT NOT NULL);"
            "CREATE TABLE cell_sources (cell_id INTEGER NOT NULL REFERENCES cells(id),"
            " source_id INTEGER NOT NULL REFERENCES sources(id), PRIMARY KEY (cell_id, source_id))",
            nullptr, nullptr, nullptr);
        for (int first = 0; first < kLarge; first += kDownload)
            add(db, first, std::min(kDownload, kLarge - first));
        sqlite3_close(db);
    }
    static sqlite3 *open(const QByteArray &path)
    {
        sqlite3 *db = nullptr;
        sqlite3_open(path.constData(), &db);
        sqlite3_exec(db,
            "PRAGMA foreign_keys = ON; PRAGMA cache_size = -65536; PRAGMA temp_store = MEMORY; "
            "PRAGMA journal_mode = WAL",
            nullptr, nullptr, nullptr);
        return db;
    }
    // One transaction: a source, then each cell inserted unless it is there and linked to the
    // source. The number of cells added.
    static int add(sqlite3 *db, int first, int count)
    {
        sqlite3_exec(db, "BEGIN IMMEDIATE; INSERT INTO sources (added_at) VALUES (datetime('now'))", nullptr,
            nullptr, nullptr);
        const sqlite3_int64 source = sqlite3_last_insert_rowid(db);
        sqlite3_stmt *insert = nullptr;
        sqlite3_stmt *find = nullptr;
        sqlite3_stmt *link = nullptr;
        sqlite3_prepare_v2(db, "INSERT OR IGNORE INTO cells (cell) VALUES (?)", -1, &insert, nullptr);
        sqlite3_prepare_v2(db, "SELECT id FROM cells WHERE cell = ?", -1, &find, nullptr);
        sqlite3_prepare_v2(db, "INSERT OR IGNORE INTO cell_sources VALUES (?, ?)", -1, &link, nullptr);
        int added = 0;
        for (int n = first; n < first + count; ++n) {
            const ArchiveCell cell = cellNumber(n);
            sqlite3_bind_blob(insert, 1, cell.bytes.data(), static_cast<int>(kCellSize), SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_reset(insert);
            sqlite3_int64 id = sqlite3_last_insert_rowid(db);
            if (sqlite3_changes(db) == 1) {
                ++added;
            } else {
                sqlite3_bind_blob(find, 1, cell.bytes.data(), static_cast<int>(kCellSize), SQLITE_TRANSIENT);
                if (sqlite3_step(find) == SQLITE_ROW)
                    id = sqlite3_column_int64(find, 0);
                sqlite3_reset(find);
            }
            sqlite3_bind_int64(link, 1, id);
            sqlite3_bind_int64(link, 2, source);
            sqlite3_step(link);
            sqlite3_reset(link);
        }
        sqlite3_finalize(insert);
        sqlite3_finalize(find);
        sqlite3_finalize(link);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        return added;
    }
};

// Copies the register once per benchmark, so the others keep theirs as made.
QString copyOf(const QString &path, const QTemporaryDir &dir)
{
    const QString copy = dir.filePath(QStringLiteral("copy.sqlite"));
    QFile::copy(path, copy);
    return copy;
}

} // namespace

// A download of 999 new cells into the register of 100,000, as luvir-cli download and the
// program do it: open (with the check), add, close.
// Argument 0: the new cells' times scattered over the year the register holds (every new cell
// lands on another page of the time indexes: the worst case); 1: the cells of a meter's next
// download, newer than all (the indexes grow at their end).
void BM_DownloadInto100k(benchmark::State &state)
{
    const bool newest = state.range(0) == 1;
    SizedRegister &large = sizedRegister(kLarge);
    if (large.path.isEmpty())
        return state.SkipWithError("the register could not be made");
    QTemporaryDir dir;
    const QString path = copyOf(large.path, dir);
    int next = kLarge;
    for (auto _ : state) {
        state.PauseTiming();
        const QList<ArchiveCell> cells = newest ? newestCellsFrom(next, kDownload) : cellsFrom(next, kDownload);
        next += kDownload;
        state.ResumeTiming();
        Register reg;
        if (reg.open(path, Register::Opening::CreateIfMissing) != Register::OpenStatus::Ok)
            return state.SkipWithError("the register did not open");
        RegisterSource source = download();
        ImportCounts counts;
        if (!reg.importCells(cells, source, counts) || counts.added != kDownload)
            return state.SkipWithError("not every cell was added");
        reg.close();
    }
}
BENCHMARK(BM_DownloadInto100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The floor of the same work: open, 999 new cells de-duplicated and linked to their source in
// one transaction, close; on a copy of its own, as the register's is.
void BM_FloorDownloadInto100k(benchmark::State &state)
{
    static FloorFile floor;
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(copyOf(QFile::decodeName(floor.path), dir));
    int next = kLarge;
    for (auto _ : state) {
        sqlite3 *db = FloorFile::open(path);
        const int added = FloorFile::add(db, next, kDownload);
        next += kDownload;
        sqlite3_close(db);
        if (added != kDownload)
            return state.SkipWithError("not every cell was added");
    }
}
BENCHMARK(BM_FloorDownloadInto100k)->Unit(benchmark::kMillisecond);

// What every command pays to open a register: argument, its number of measurements. The same
// on 1,000 and on 100,000.
void BM_OpenCheck(benchmark::State &state)
{
    SizedRegister &reg = sizedRegister(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Register opened;
        if (opened.open(reg.path, Register::Opening::ExistingOnly) != Register::OpenStatus::Ok)
            return state.SkipWithError("the register did not open");
    }
}
BENCHMARK(BM_OpenCheck)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);

// The check every command of luvir-cli paid before: SQLite reading every page.
void BM_PageByPageCheck(benchmark::State &state)
{
    SizedRegister &reg = sizedRegister(static_cast<int>(state.range(0)));
    const QByteArray path = QFile::encodeName(reg.path);
    for (auto _ : state) {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_exec(db, "PRAGMA quick_check", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
}
BENCHMARK(BM_PageByPageCheck)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
