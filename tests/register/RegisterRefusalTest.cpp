// Files that are not a register this program may write: each refused with a message and
// left byte for byte as it was. And a register another program holds, or a full disk:
// the change fails whole, with the reason.
#include "RegisterFixture.h"

#include "FileSizeLimit.h"
#include "RegisterSchema.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <functional>

using namespace luvir;
using namespace luvir::test;

namespace {

// Runs `statements` on `path` through a connection of the test's own.
void runSql(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        for (const QString &statement : statements) {
            QSqlQuery query(db);
            EXPECT_TRUE(query.exec(statement)) << qPrintable(statement);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A closed register of 2,000 measurements in several pages, its bytes.
QByteArray fullRegister(const QString &path)
{
    Register reg;
    EXPECT_EQ(reg.open(path), Register::OpenStatus::Ok);
    RegisterSource source = fileSource("x.db");
    ImportCounts counts;
    EXPECT_TRUE(reg.importCells(distinctCells(0, 2000), source, counts));
    reg.close();
    return fileBytes(path);
}

struct RefusalCase {
    const char *what;
    std::function<void(const QString &path)> make;
    Register::OpenStatus status;
    const char *says;
};

} // namespace

TEST(RegisterRefusal, EachStrangeFileIsRefusedAndLeftAsItWas)
{
    const RefusalCase cases[] = {
        {"random bytes",
            [](const QString &path) {
                QByteArray bytes(65536, '\0');
                QRandomGenerator generator(19);
                for (char &b : bytes)
                    b = static_cast<char>(generator.bounded(256));
                writeFile(path, bytes);
            },
            Register::OpenStatus::NotARegister, "не является журналом испытаний"},
        {"a text file", [](const QString &path) { writeFile(path, "Журнал испытаний\n"); },
            Register::OpenStatus::NotARegister, "не является журналом испытаний"},
        {"an archive file",
            [](const QString &path) { writeFile(path, fileBytes(testDataPath("sample-300.db"))); },
            Register::OpenStatus::NotARegister, "не является журналом испытаний"},
        {"another program's database",
            [](const QString &path) {
                runSql(path, {"CREATE TABLE photos (id INTEGER PRIMARY KEY, name TEXT)"});
            },
            Register::OpenStatus::NotARegister, "не является журналом испытаний"},
        {"a register of a newer schema",
            [](const QString &path) {
                fullRegister(path);
                runSql(path, {QStringLiteral("PRAGMA user_version = %1").arg(kRegisterSchemaVersion + 1)});
            },
            Register::OpenStatus::NewerSchema, "создан более новой версией программы"},
        {"a register cut in the middle of a page",
            [](const QString &path) {
                const QByteArray bytes = fullRegister(path);
                writeFile(path, bytes.left(bytes.size() / 2 + 7));
            },
            Register::OpenStatus::Damaged, "повреждён"},
        {"a register cut at a page's end",
            [](const QString &path) {
                const QByteArray bytes = fullRegister(path);
                writeFile(path, bytes.left(bytes.size() / 2 / 4096 * 4096));
            },
            Register::OpenStatus::Damaged, "повреждён"},
        {"a register cut inside its header",
            [](const QString &path) { writeFile(path, fullRegister(path).left(60)); },
            Register::OpenStatus::Damaged, "повреждён"},
        {"a register with a damaged page",
            [](const QString &path) {
                QByteArray bytes = fullRegister(path);
                for (qsizetype i = 4096 * 4; i < 4096 * 5; ++i) // the fifth page, a page of measurements
                    bytes[i] = static_cast<char>(0xA5);
                writeFile(path, bytes);
            },
            Register::OpenStatus::Damaged, "повреждён"},
    };
    for (const RefusalCase &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("журнал 1.sqlite"));
        c.make(path);
        const QByteArray before = fileBytes(path);
        const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files);
        Register reg;
        EXPECT_EQ(reg.open(path), c.status) << c.what << ": " << qPrintable(reg.errorString());
        EXPECT_FALSE(reg.isOpen()) << c.what;
        EXPECT_TRUE(reg.errorString().contains(QString::fromUtf8(c.says)))
            << c.what << ": " << qPrintable(reg.errorString());
        EXPECT_TRUE(reg.errorString().contains(path)) << c.what;
        EXPECT_TRUE(reg.errorString().endsWith("Файл оставлен без изменений.")) << c.what;
        reg.close();
        EXPECT_EQ(fileBytes(path), before) << c.what;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), filesBefore) << c.what;
    }
}

TEST(RegisterRefusal, AFolderOrAnUncreatableFolderCannotBeOpened)
{
    QTemporaryDir dir;
    Register reg;
    EXPECT_EQ(reg.open(dir.path()), Register::OpenStatus::CannotOpen);
    EXPECT_TRUE(reg.errorString().startsWith("Не удалось открыть журнал")) << qPrintable(reg.errorString());
    writeFile(dir.filePath("file"), "x");
    EXPECT_EQ(reg.open(dir.filePath("file/inside/register.sqlite")), Register::OpenStatus::CannotOpen);
    EXPECT_EQ(fileBytes(dir.filePath("file")), "x");
}

TEST_P(SqliteRegisterTest, ANewRegisterIsCreatedWithItsFolderAndOpensAgain)
{
    add(distinctCells(0, 3));
    reg.close();
    EXPECT_EQ(reg.open(registerPath()), Register::OpenStatus::Ok);
    EXPECT_EQ(reg.measurements(MeasurementSelection::all()).size(), 3);
    Register nested;
    EXPECT_EQ(nested.open(dir.filePath("a/b/c.sqlite")), Register::OpenStatus::Ok);
    // An empty file (made by a file dialog, or by a program that created it a moment ago)
    // becomes a register.
    writeFile(dir.filePath("empty.sqlite"), {});
    Register empty;
    EXPECT_EQ(empty.open(dir.filePath("empty.sqlite")), Register::OpenStatus::Ok)
        << qPrintable(empty.errorString());
}

INSTANTIATE_TEST_SUITE_P(File, SqliteRegisterTest, ::testing::Values(Engine::Sqlite), engineName);

TEST_P(RegisterTest, ARegisterHeldByAnotherProgramFailsTheChangeWholeWithTheReason)
{
    add(distinctCells(0, 10));
    {
        RawConnection other(registerPath());
        QSqlQuery hold(other.db());
        // SQLite: the write lock of the whole file; a server: the tables an addition writes.
        const QStringList holding = engine() == Engine::Sqlite
            ? QStringList {"BEGIN IMMEDIATE"}
            : QStringList {"BEGIN", "LOCK TABLE sources, measurements IN EXCLUSIVE MODE"};
        for (const QString &statement : holding)
            ASSERT_TRUE(hold.exec(statement));
        reg.setBusyTimeout(300);
        RegisterSource source = fileSource("b.db");
        ImportCounts counts;
        EXPECT_FALSE(reg.importCells(distinctCells(5, 10), source, counts));
        EXPECT_EQ(reg.errorString(), "журнал занят другой программой дольше 0.3 с");
        EXPECT_FALSE(reg.assign({1}, 1));
        hold.exec("ROLLBACK");
    }
    // Released: the same addition goes through; nothing of the failed one was left behind.
    EXPECT_EQ(add(distinctCells(5, 10), "b.db"), (ImportCounts {5, 5, 0}));
    EXPECT_EQ(reg.sources().size(), 2);
}

TEST_P(SqliteRegisterTest, AFullDiskFailsTheAdditionWholeAndTheRegisterStaysSound)
{
    add(distinctCells(0, 100));
    RegisterSource source = fileSource("big.db");
    ImportCounts counts;
    {
        FileSizeLimit disk(16 * 1024);
        EXPECT_FALSE(reg.importCells(distinctCells(100, 999), source, counts));
    }
    EXPECT_TRUE(reg.errorString().startsWith("на диске не хватает места (")
        || reg.errorString().startsWith("ошибка записи на диск"))
        << qPrintable(reg.errorString());
    reg.close();
    ASSERT_EQ(reg.open(registerPath()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
    EXPECT_EQ(reg.measurements(MeasurementSelection::all()).size(), 100);
    EXPECT_EQ(reg.sources().size(), 1);
    EXPECT_EQ(add(distinctCells(100, 999), "big.db"), (ImportCounts {999, 0, 0}));
}
