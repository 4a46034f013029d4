// The register under real programs: luvir-cli killed in the middle of adding, and four of
// them adding overlapping archives to one register at once.
#include "RegisterFixture.h"

#include "ArchiveFile.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>
#include <memory>
#include <vector>

using namespace luvir;
using namespace luvir::test;

namespace {

// An archive file of the cells first .. first + 998.
QString writeArchive(const QTemporaryDir &dir, const QString &name, int first)
{
    auto archive = std::make_unique<CellArchive>();
    for (const ArchiveCell &cell : distinctCells(first, CellArchive::Capacity))
        archive->Cells[archive->Count++] = cell;
    const QString path = dir.filePath(name);
    ArchiveWriter writer;
    EXPECT_TRUE(writer.write(path, *archive, {1, 0})) << qPrintable(writer.errorString());
    return path;
}

std::unique_ptr<QProcess> startAdding(const QString &registerPath, const QStringList &files)
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(QStringLiteral(LUVIR_CLI_PATH));
    process->setArguments(QStringList {"register", "--register", registerPath, "add"} + files);
    process->start();
    EXPECT_TRUE(process->waitForStarted(30000));
    return process;
}

// What the register holds, read with a connection of the test's own, as another program would.
struct Contents {
    QString integrity;
    int measurements = 0;
    int links = 0;
    int unlinked = 0; // measurements of no source
    QList<int> cellsPerSource;
};

Contents readContents(const QString &location)
{
    Contents contents;
    RawConnection raw(location);
    // A server keeps its own pages sound; a file is checked page by page.
    contents.integrity
        = isServerLocation(location) ? QStringLiteral("ok") : raw.value("PRAGMA integrity_check").toString();
    contents.measurements = raw.value("SELECT count(*) FROM measurements").toInt();
    contents.links = raw.value("SELECT count(*) FROM measurement_sources").toInt();
    contents.unlinked = raw.value("SELECT count(*) FROM measurements m WHERE NOT EXISTS "
                                  "(SELECT 1 FROM measurement_sources ms WHERE ms.measurement_id = m.id)")
                            .toInt();
    QSqlQuery query(raw.db());
    query.exec("SELECT count(ms.measurement_id) FROM sources s LEFT JOIN measurement_sources ms "
               "ON ms.source_id = s.id GROUP BY s.id ORDER BY s.id");
    while (query.next())
        contents.cellsPerSource << query.value(0).toInt();
    return contents;
}

class RegisterProcesses : public ::testing::TestWithParam<Engine>
{
protected:
    ScratchRegister scratch {GetParam()};
    const QTemporaryDir &dir = scratch.dir();
    const QString registerPath = scratch.location(); // made by whichever program comes first
};

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Engines, RegisterProcesses, ::testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

// Each round adds six new archives and is killed at a random moment of the run: every
// archive is in the register whole or not at all, and the file passes the integrity check.
TEST_P(RegisterProcesses, KilledInTheMiddleOfAddingLeavesAllOrNothing)
{
    constexpr int kRounds = 12;
    constexpr int kFilesPerRound = 6;

    // A whole run first, to know how long one takes.
    QStringList files;
    for (int k = 0; k < kFilesPerRound; ++k)
        files << writeArchive(dir, QStringLiteral("0-%1.db").arg(k), k * 999);
    QElapsedTimer whole;
    whole.start();
    auto first = startAdding(registerPath, files);
    ASSERT_TRUE(first->waitForFinished(60000));
    ASSERT_EQ(first->exitCode(), 0) << first->readAllStandardError().toStdString();
    const int wholeMs = static_cast<int>(whole.elapsed());

    QRandomGenerator random(1905);
    int killedMidway = 0;
    int partway = 0; // killed with some of its files in
    qsizetype sourcesBefore = 1;
    for (int round = 1; round <= kRounds; ++round) {
        files.clear();
        for (int k = 0; k < kFilesPerRound; ++k)
            files << writeArchive(
                dir, QStringLiteral("%1-%2.db").arg(round).arg(k), (round * kFilesPerRound + k) * 999);
        auto process = startAdding(registerPath, files);
        process->waitForFinished(random.bounded(wholeMs + 1));
        if (process->state() != QProcess::NotRunning) {
            process->kill(); // SIGKILL
            ++killedMidway;
            ASSERT_TRUE(process->waitForFinished(60000));
        }

        const Contents contents = readContents(registerPath);
        EXPECT_EQ(contents.integrity, "ok") << "round " << round;
        EXPECT_EQ(contents.unlinked, 0) << "round " << round;
        for (int cells : contents.cellsPerSource)
            EXPECT_EQ(cells, 999) << "round " << round << ": a file added in part";
        EXPECT_EQ(contents.measurements, 999 * contents.cellsPerSource.size()) << "round " << round;
        const qsizetype added = contents.cellsPerSource.size() - sourcesBefore;
        partway += added > 0 && added < kFilesPerRound;
        sourcesBefore = contents.cellsPerSource.size();
    }
    std::printf(
        "%d of %d runs killed, %d of them after some of their files\n", killedMidway, kRounds, partway);
    EXPECT_GT(killedMidway, 0) << "no run was killed before it ended";

    // And the register still takes what the killed runs did not finish.
    Register reg;
    ASSERT_EQ(reg.open(registerPath), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
}

// Four programs add two archives each, every archive overlapping the next, all at once:
// none fails, and every measurement is there once with a link to each file it came from.
TEST_P(RegisterProcesses, FourProgramsAddingAtOnceKeepEveryMeasurementOnce)
{
    QStringList archives;
    for (int k = 0; k < 4; ++k)
        archives << writeArchive(dir, QStringLiteral("a%1.db").arg(k), k * 600); // cells k*600 .. k*600+998
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int p = 0; p < 4; ++p)
        processes.push_back(startAdding(registerPath, {archives[p], archives[(p + 1) % 4]}));
    for (auto &process : processes) {
        ASSERT_TRUE(process->waitForFinished(120000));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    }
    const Contents contents = readContents(registerPath);
    EXPECT_EQ(contents.integrity, "ok");
    EXPECT_EQ(contents.measurements, 3 * 600 + 999); // cells 0 .. 2798
    EXPECT_EQ(contents.links, 8 * 999);
    EXPECT_EQ(contents.cellsPerSource, QList<int>(8, 999));
}

// Six programs assign a measurement each, at the same moment, to a structure named with its
// object that none of them finds yet: every one succeeds, and between them they make one
// object and one structure, holding all six. Twenty rounds, each with names of its own.
TEST_P(RegisterProcesses, SixProgramsAssigningToOneNewNameMakeItOnce)
{
    constexpr int kRounds = 20;
    constexpr int kPrograms = 6;
    Register reg;
    ASSERT_EQ(reg.open(registerPath), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
    RegisterSource source = fileSource(QStringLiteral("a.db"));
    ImportCounts counts;
    ASSERT_TRUE(reg.importCells(distinctCells(0, kRounds * kPrograms), source, counts));
    QList<RegisterId> measured;
    for (const RegisterMeasurement &m : reg.measurements(MeasurementSelection::all()))
        measured << m.id;
    reg.close();

    for (int round = 0; round < kRounds; ++round) {
        const QString object = QStringLiteral("Объект %1").arg(round);
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int p = 0; p < kPrograms; ++p) {
            auto process = std::make_unique<QProcess>();
            process->setProgram(QStringLiteral(LUVIR_CLI_PATH));
            process->setArguments({"register", "--register", registerPath, "assign", "--object", object,
                "--structure", "К-3", QString::number(measured[round * kPrograms + p])});
            processes.push_back(std::move(process));
        }
        for (auto &process : processes) // started together, then waited for
            process->start();
        for (auto &process : processes) {
            ASSERT_TRUE(process->waitForFinished(120000));
            EXPECT_EQ(process->exitCode(), 0) << "round " << round << ": "
                                              << process->readAllStandardError().toStdString();
        }
        RawConnection raw(registerPath);
        QSqlQuery query(raw.db());
        query.prepare("SELECT count(DISTINCT o.id), count(DISTINCT s.id), count(m.id) FROM objects o "
                      "JOIN structures s ON s.object_id = o.id LEFT JOIN measurements m ON m.structure_id = s.id "
                      "WHERE o.name = ?");
        query.addBindValue(object);
        ASSERT_TRUE(query.exec() && query.next()) << qPrintable(query.lastError().text());
        EXPECT_EQ(query.value(0).toInt(), 1) << "objects called \"" << qPrintable(object) << "\"";
        EXPECT_EQ(query.value(1).toInt(), 1) << "structures \"К-3\" of \"" << qPrintable(object) << "\"";
        EXPECT_EQ(query.value(2).toInt(), kPrograms) << "measurements assigned in round " << round;
    }
}

// A copy taken while another program adds is of one moment: every source in it is whole,
// it passes SQLite's own check, it opens as a register, and the last one, taken once the
// other program is done, holds exactly what the register holds.
TEST(RegisterBackup, ACopyTakenWhileAnotherProgramAddsIsWholeAndOpensAsARegister)
{
    QTemporaryDir dir;
    const QString registerPath = dir.filePath("register.sqlite");
    {
        Register reg;
        ASSERT_EQ(reg.open(registerPath), Register::OpenStatus::Ok);
        RegisterSource source = fileSource("first.db");
        ImportCounts counts;
        ASSERT_TRUE(reg.importCells(distinctCells(0, CellArchive::Capacity), source, counts));
    }
    QStringList files;
    for (int i = 1; i <= 8; ++i)
        files << writeArchive(dir, QStringLiteral("a%1.db").arg(i), i * CellArchive::Capacity);
    auto adding = startAdding(registerPath, files);

    Register reg;
    ASSERT_EQ(reg.open(registerPath, Register::Opening::ExistingOnly), Register::OpenStatus::Ok);
    int copies = 0;
    int midway = 0; // copies of a moment between the first addition and the last
    const auto checkCopy = [&](const QString &copy) {
        const Contents contents = readContents(copy);
        EXPECT_EQ(contents.integrity, "ok");
        EXPECT_EQ(contents.unlinked, 0);
        EXPECT_EQ(contents.measurements, contents.links);
        for (int cells : contents.cellsPerSource)
            EXPECT_EQ(cells, CellArchive::Capacity) << "a source caught half-way";
        EXPECT_EQ(contents.measurements, CellArchive::Capacity * contents.cellsPerSource.size());
        if (contents.cellsPerSource.size() > 1 && contents.cellsPerSource.size() < 9)
            ++midway;
        Register opened;
        EXPECT_EQ(opened.open(copy, Register::Opening::ExistingOnly), Register::OpenStatus::Ok)
            << qPrintable(opened.errorString());
        EXPECT_EQ(opened.measurements(MeasurementSelection::all()).size(), contents.measurements);
    };
    while (adding->state() != QProcess::NotRunning) {
        const QString copy = dir.filePath(QStringLiteral("copy%1.sqlite").arg(++copies));
        ASSERT_TRUE(reg.backup(copy)) << qPrintable(reg.errorString());
        checkCopy(copy);
        adding->waitForFinished(20);
    }
    EXPECT_EQ(adding->exitCode(), 0) << adding->readAllStandardError().toStdString();
    // Over an older copy: replaced whole.
    const QString last = dir.filePath("copy1.sqlite");
    ASSERT_TRUE(reg.backup(last)) << qPrintable(reg.errorString());
    checkCopy(last);
    Register copy;
    ASSERT_EQ(copy.open(last, Register::Opening::ExistingOnly), Register::OpenStatus::Ok);
    const auto listed = [](Register &r) {
        QList<std::pair<RegisterId, QByteArray>> cells;
        for (const RegisterMeasurement &m : r.measurements(MeasurementSelection::all()))
            cells.append({m.id, QByteArray(reinterpret_cast<const char *>(m.cell.bytes.data()), kCellSize)});
        return cells;
    };
    EXPECT_EQ(listed(copy), listed(reg));
    EXPECT_EQ(listed(copy).size(), 9 * CellArchive::Capacity);
    EXPECT_EQ(copy.sources().size(), 9);
    std::printf("%d copies taken while adding, %d of them between its first and last file\n", copies, midway);
}

TEST(RegisterBackup, ACopyIsRefusedOverTheRegisterItselfAndIntoAFolderThatIsNot)
{
    QTemporaryDir dir;
    const QString registerPath = dir.filePath("register.sqlite");
    Register reg;
    ASSERT_EQ(reg.open(registerPath), Register::OpenStatus::Ok);
    const QByteArray before = fileBytes(registerPath);
    const struct {
        QString target;
        const char *says;
    } cases[] = {{registerPath, "это сам журнал"}, {dir.path(), "это папка"},
        {dir.filePath("no/such/folder/copy.sqlite"), ""}};
    for (const auto &c : cases) {
        EXPECT_FALSE(reg.backup(c.target));
        EXPECT_TRUE(reg.errorString().startsWith(
            QStringLiteral("не удалось сохранить копию журнала в \"%1\": %2").arg(c.target, QString::fromUtf8(c.says))))
            << qPrintable(reg.errorString());
    }
    EXPECT_EQ(fileBytes(registerPath), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".sqlite.").size(), 0);
}
