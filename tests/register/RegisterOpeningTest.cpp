// Every way of opening a register file makes one check and gives one refusal, and a refused
// file stays byte for byte as it was, its -wal and -shm included. Only the ways that make a
// register make one; a register on a read-only share or a full disk can be read.
#include "RegisterFixture.h"

#include "RegisterRecorder.h"
#include "RegisterSchema.h"
#include "SmallFilesystem.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace luvir;
using namespace luvir::test;

namespace {

// Every file of a folder (hidden ones too) with its bytes.
using FolderBytes = QMap<QString, QByteArray>;

FolderBytes folderBytes(const QString &folder)
{
    FolderBytes files;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        files.insert(name, fileBytes(QDir(folder).filePath(name)));
    return files;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A closed register of `count` measurements.
void makeRegister(const QString &path, int count = 2000)
{
    Register reg;
    ASSERT_EQ(reg.open(path), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
    RegisterSource source = fileSource("x.db");
    ImportCounts counts;
    ASSERT_TRUE(reg.importCells(distinctCells(0, count), source, counts));
}

// What a program that stopped while writing leaves: the register with its -wal and -shm,
// the last change (`statements`) only in the log. Made elsewhere with SQLite itself and
// copied beside `path` while that connection still holds them.
void leaveWithLog(const QString &path, const char *statements)
{
    QTemporaryDir elsewhere;
    const QString source = elsewhere.filePath("r.sqlite");
    makeRegister(source);
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(source).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA wal_autocheckpoint = 0", nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, statements, nullptr, nullptr, nullptr), SQLITE_OK);
    for (const char *suffix : {"", "-wal", "-shm"})
        ASSERT_TRUE(QFile::copy(source + suffix, path + suffix)) << suffix;
    sqlite3_close(db);
}

// One way of opening a register: the status it gives and its message.
struct Way {
    const char *name;
    bool givesStatus; // the download only says what was not added, and why
    std::function<std::pair<Register::OpenStatus, QString>(const QString &path)> open;
};

const Way kWays[] = {
    {"the register window and the command line's read commands", true,
        [](const QString &path) {
            Register reg;
            const auto status = reg.open(path, Register::Opening::ExistingOnly);
            return std::make_pair(status, reg.errorString());
        }},
    {"adding files and «Создать журнал…»", true,
        [](const QString &path) {
            Register reg;
            const auto status = reg.open(path, Register::Opening::CreateIfMissing);
            return std::make_pair(status, reg.errorString());
        }},
    {"a download", false,
        [](const QString &path) {
            RegisterRecorder recorder(path);
            auto archive = std::make_unique<CellArchive>();
            archive->Count = 1;
            archive->Cells[0] = distinctCell(1);
            const DownloadRecord record = recorder.recordDownload({*archive, {1, 0}, {}, QDateTime::currentDateTime()});
            return std::make_pair(
                record.complete ? Register::OpenStatus::Ok : Register::OpenStatus::CannotOpen, record.text);
        }},
};

struct RefusedFile {
    const char *what;
    std::function<void(const QString &path)> make;
    Register::OpenStatus status;
    const char *says;
};

} // namespace

TEST(RegisterOpening, EveryWayRefusesTheSameFilesAndLeavesEveryFileAsItWas)
{
    const RefusedFile files[] = {
        {"a register of a newer program, its change still in the log",
            [](const QString &path) {
                leaveWithLog(path, QStringLiteral("PRAGMA user_version = %1").arg(kRegisterSchemaVersion + 1).toUtf8());
            },
            Register::OpenStatus::NewerSchema, "создан более новой версией программы"},
        {"a register of a newer program, its log left beside it",
            [](const QString &path) {
                leaveWithLog(path,
                    QStringLiteral("PRAGMA user_version = %1; INSERT INTO objects (name) VALUES ('Дом')")
                        .arg(kRegisterSchemaVersion + 1)
                        .toUtf8());
            },
            Register::OpenStatus::NewerSchema, "создан более новой версией программы"},
        {"a register whose measurements' first page is overwritten",
            [](const QString &path) {
                makeRegister(path);
                QByteArray bytes = fileBytes(path);
                for (qsizetype i = 4096 * 4; i < 4096 * 5; ++i)
                    bytes[i] = static_cast<char>(0xA5);
                writeFile(path, bytes);
            },
            Register::OpenStatus::Damaged, "повреждён"},
        {"a register with the measurements' first page overwritten and its log beside it",
            [](const QString &path) {
                leaveWithLog(path, "INSERT INTO objects (name) VALUES ('Дом')");
                QByteArray bytes = fileBytes(path);
                for (qsizetype i = 4096 * 4; i < 4096 * 5; ++i)
                    bytes[i] = static_cast<char>(0x5A);
                writeFile(path, bytes);
            },
            Register::OpenStatus::Damaged, "повреждён"},
        {"a register cut at a page's end",
            [](const QString &path) {
                makeRegister(path);
                const QByteArray bytes = fileBytes(path);
                writeFile(path, bytes.left(bytes.size() / 2 / 4096 * 4096));
            },
            Register::OpenStatus::Damaged, "повреждён"},
        {"another program's database with its log",
            [](const QString &path) {
                sqlite3 *db = nullptr;
                QTemporaryDir elsewhere;
                const QByteArray source = QFile::encodeName(elsewhere.filePath("o.sqlite"));
                sqlite3_open(source.constData(), &db);
                sqlite3_exec(db,
                    "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0; CREATE TABLE photos (id INTEGER)",
                    nullptr, nullptr, nullptr);
                for (const char *suffix : {"", "-wal", "-shm"})
                    QFile::copy(QFile::decodeName(source + suffix), path + suffix);
                sqlite3_close(db);
            },
            Register::OpenStatus::NotARegister, "не является журналом испытаний"},
    };
    for (const RefusedFile &file : files) {
        for (const Way &way : kWays) {
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("журнал 1.sqlite"));
            file.make(path);
            const FolderBytes before = folderBytes(dir.path());
            const auto [status, message] = way.open(path);
            if (way.givesStatus)
                EXPECT_EQ(status, file.status) << file.what << " / " << way.name << ": " << qPrintable(message);
            else
                EXPECT_NE(status, Register::OpenStatus::Ok) << file.what << " / " << way.name;
            EXPECT_TRUE(message.contains(QString::fromUtf8(file.says)))
                << file.what << " / " << way.name << ": " << qPrintable(message);
            EXPECT_TRUE(message.contains(QStringLiteral("\"%1\"").arg(path))) << qPrintable(message);
            EXPECT_FALSE(message.contains(u'«') && message.contains(path + u'»')) << qPrintable(message);
            EXPECT_EQ(folderBytes(dir.path()), before) << file.what << " / " << way.name;
        }
    }
}

TEST(RegisterOpening, OnlyTheWaysThatMakeARegisterMakeOne)
{
    QTemporaryDir dir;
    // A missing file, in a missing folder, or a server's keyword string taken as a file.
    for (const QString &name : {QStringLiteral("nodir/x.sqlite"), QStringLiteral("host=localhost dbname=register"),
             QStringLiteral("x.sqlite")}) {
        const QString path = dir.filePath(name);
        Register reg;
        EXPECT_EQ(reg.open(path, Register::Opening::ExistingOnly), Register::OpenStatus::CannotOpen) << qPrintable(name);
        EXPECT_EQ(reg.errorString(), QStringLiteral("Журнала \"%1\" нет.").arg(path));
        EXPECT_TRUE(QDir(dir.path()).isEmpty()) << qPrintable(name);
    }
    // An empty file (a file dialog may make one) is not a register to open.
    const QString empty = dir.filePath("empty.sqlite");
    writeFile(empty, {});
    Register reg;
    EXPECT_EQ(reg.open(empty, Register::Opening::ExistingOnly), Register::OpenStatus::NotARegister);
    EXPECT_TRUE(reg.errorString().contains("пуст")) << qPrintable(reg.errorString());
    EXPECT_EQ(folderBytes(dir.path()), (FolderBytes {{"empty.sqlite", {}}}));
    // Made when asked to.
    EXPECT_EQ(reg.open(empty, Register::Opening::CreateIfMissing), Register::OpenStatus::Ok);
    reg.close();
    EXPECT_EQ(reg.open(empty, Register::Opening::ExistingOnly), Register::OpenStatus::Ok);
}

TEST(RegisterOpening, AFolderOrAFifoIsRefusedInASentence)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct {
        QString path;
        const char *says;
    } cases[] = {{dir.path(), "это папка, а не файл"}, {fifo, "это канал или устройство, а не файл"}};
    for (const auto &c : cases) {
        for (const auto opening : {Register::Opening::ExistingOnly, Register::Opening::CreateIfMissing}) {
            Register reg;
            EXPECT_EQ(reg.open(c.path, opening), Register::OpenStatus::CannotOpen);
            EXPECT_EQ(reg.errorString(),
                QStringLiteral("Не удалось открыть журнал \"%1\": %2.").arg(c.path, QString::fromUtf8(c.says)));
        }
    }
}

namespace {

// Reads the register at `path` and tries to add to it: the reading works, the adding fails
// saying `because`, and no file of the folder changes.
void expectReadableNotWritable(const QString &path, const QString &because)
{
    const FolderBytes before = folderBytes(QFileInfo(path).absolutePath());
    Register reg;
    ASSERT_EQ(reg.open(path, Register::Opening::ExistingOnly), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
    EXPECT_TRUE(reg.isReadOnly());
    EXPECT_EQ(reg.measurements(MeasurementSelection::all()).size(), 200) << qPrintable(reg.errorString());
    EXPECT_EQ(reg.measurementCounts().value(0).measurements, 200);
    RegisterSource source = fileSource("y.db");
    ImportCounts counts;
    EXPECT_FALSE(reg.importCells(distinctCells(500, 3), source, counts));
    EXPECT_TRUE(reg.errorString().startsWith("журнал открыт только для чтения: "));
    EXPECT_TRUE(reg.errorString().contains(because)) << qPrintable(reg.errorString());
    EXPECT_FALSE(reg.assign({1}, 1));
    reg.close();
    EXPECT_EQ(folderBytes(QFileInfo(path).absolutePath()), before);
}

QString systemText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

} // namespace

TEST(RegisterOpening, ARegisterInAFolderThatCannotBeWrittenIsReadAndAChangeNamesTheFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into any folder; the read-only share below covers it";
    QTemporaryDir dir;
    const QString path = dir.filePath("register.sqlite");
    makeRegister(path, 200);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    expectReadableNotWritable(path, QStringLiteral("в папку \"%1\" нельзя записывать (%2)").arg(dir.path(), systemText(EACCES)));
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
}

TEST(RegisterOpening, ARegisterOnAReadOnlyShareIsReadAndAChangeNamesTheFolder)
{
    SmallFilesystem share;
    LUVIR_NEED_SMALL_FILESYSTEM(share);
    const QString path = share.filePath("register.sqlite");
    makeRegister(path, 200);
    ASSERT_TRUE(share.makeReadOnly());
    expectReadableNotWritable(path, QStringLiteral("в папку \"%1\" нельзя записывать (%2)").arg(share.path(), systemText(EROFS)));
}

TEST(RegisterOpening, OnAFullDiskARegisterIsReadAndANewOneLeavesNothing)
{
    SmallFilesystem disk;
    LUVIR_NEED_SMALL_FILESYSTEM(disk);
    const QString path = disk.filePath("register.sqlite");
    makeRegister(path, 200);
    ASSERT_TRUE(disk.leaveFree(0));
    expectReadableNotWritable(path, systemText(ENOSPC));

    const QStringList filesBefore = disk.files();
    for (const QString &name : {QStringLiteral("new.sqlite"), QStringLiteral("a/b/new.sqlite")}) {
        Register fresh;
        EXPECT_EQ(fresh.open(disk.filePath(name), Register::Opening::CreateIfMissing), Register::OpenStatus::CannotOpen);
        const QString message = fresh.errorString();
        EXPECT_TRUE(message.startsWith(QStringLiteral("Не удалось создать журнал \"%1\": ").arg(disk.filePath(name))))
            << qPrintable(message);
        EXPECT_TRUE(message.endsWith(QStringLiteral("(%1).").arg(systemText(ENOSPC)))) << qPrintable(message);
        // One sentence, Russian, with the system's reason only.
        EXPECT_EQ(QString(message).remove(disk.filePath(name)).count(u'.'), 1) << qPrintable(message);
        EXPECT_FALSE(message.contains("database")) << qPrintable(message);
        EXPECT_EQ(disk.files(), filesBefore);
        EXPECT_FALSE(QFileInfo::exists(disk.filePath("a")));
    }
}

TEST(RegisterOpening, DamageMetAfterOpeningFailsTheCallAndNothingIsWrittenAfterIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("register.sqlite");
    makeRegister(path, 20000);
    QByteArray bytes = fileBytes(path);
    // The pages holding a measurement in the middle (its row, its index entry): not on the way
    // to the first or last row.
    const ArchiveCell middle = distinctCell(10000);
    const QByteArray blob(reinterpret_cast<const char *>(middle.bytes.data()), kCellSize);
    int pages = 0;
    for (qsizetype at = bytes.indexOf(blob); at >= 0; at = bytes.indexOf(blob, at + 1), ++pages) {
        const qsizetype page = at / 4096;
        for (qsizetype i = page * 4096; i < (page + 1) * 4096; ++i)
            bytes[i] = static_cast<char>(0xA5);
    }
    ASSERT_GT(pages, 0);
    writeFile(path, bytes);
    const FolderBytes before = folderBytes(dir.path());
    Register reg;
    const auto status = reg.open(path, Register::Opening::ExistingOnly);
    if (status == Register::OpenStatus::Ok) {
        // Met by a read of the whole table: told, never a shorter list, and the register
        // writes nothing more.
        EXPECT_TRUE(reg.measurements(MeasurementSelection::all()).isEmpty());
        EXPECT_EQ(reg.errorString(), "файл журнала повреждён");
        EXPECT_EQ(reg.addObject({0, "Дом", {}, {}, {}, 0}), 0);
        EXPECT_TRUE(reg.errorString().contains("повреждён")) << qPrintable(reg.errorString());
        reg.close();
    } else {
        EXPECT_EQ(status, Register::OpenStatus::Damaged);
    }
    EXPECT_EQ(folderBytes(dir.path()), before);
}
