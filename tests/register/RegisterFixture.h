#pragma once
// What the register's tests share: a fresh register of either engine (a file in a scratch
// folder, or a database of its own on the throwaway server), cells that differ from each
// other for any number, and the file's bytes.

#include "PostgresServer.h"
#include "Register.h"
#include "RegisterServer.h"
#include "TestData.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <memory>

namespace luvir::test {

// A realistic cell that no other number gives: n is written into two impacts (n < 2^30).
inline ArchiveCell distinctCell(int n)
{
    ArchiveCell cell = sampleCell(n);
    cell.setWord(ArchiveCell::ImpactValues + 2 * 13, static_cast<std::uint16_t>(200 + (n & 0x3FFF)));
    cell.setWord(ArchiveCell::ImpactValues + 2 * 14, static_cast<std::uint16_t>(200 + ((n >> 14) & 0x3FFF)));
    return cell;
}

// Cells first .. first + count - 1.
inline QList<ArchiveCell> distinctCells(int first, int count)
{
    QList<ArchiveCell> cells;
    for (int n = first; n < first + count; ++n)
        cells << distinctCell(n);
    return cells;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline RegisterSource fileSource(const QString &name)
{
    RegisterSource source;
    source.kind = RegisterSource::Kind::File;
    source.addedAt = QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9));
    source.version = {1, 0};
    source.fileName = name;
    return source;
}

using Engine = SqlDialect::Engine;

} // namespace luvir::test

namespace luvir {
// How the engine appears in a test's name and messages.
inline void PrintTo(SqlDialect::Engine engine, std::ostream *out)
{
    *out << (engine == SqlDialect::Engine::Sqlite ? "SQLite" : "PostgreSQL");
}
} // namespace luvir

namespace luvir::test {

inline std::string engineName(const ::testing::TestParamInfo<Engine> &info)
{
    return info.param == Engine::Sqlite ? "Sqlite" : "Postgres";
}

// Where a new register of the engine goes: a file not made yet, or an empty database.
class ScratchRegister
{
public:
    explicit ScratchRegister(Engine engine)
    {
        if (engine == Engine::Postgres)
            m_database = std::make_unique<ScratchDatabase>();
    }
    QString location() const
    {
        return m_database ? m_database->uri() : m_dir.filePath(QStringLiteral("register.sqlite"));
    }
    const QTemporaryDir &dir() const { return m_dir; }
    // The server's database; null for a file.
    const ScratchDatabase *database() const { return m_database.get(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScratchDatabase> m_database;
};

// A connection of the test's own to a register, as another program would make it.
class RawConnection
{
public:
    explicit RawConnection(const QString &location)
        : m_name(QStringLiteral("raw-") + QUuid::createUuid().toString(QUuid::Id128))
    {
        QString error;
        const auto server = ServerLocation::parse(location, error);
        QSqlDatabase db
            = QSqlDatabase::addDatabase(server ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), m_name);
        if (server)
            server->applyTo(db);
        else
            db.setDatabaseName(location);
        EXPECT_TRUE(db.open()) << qPrintable(db.lastError().text());
    }
    ~RawConnection() { QSqlDatabase::removeDatabase(m_name); }
    RawConnection(const RawConnection &) = delete;
    RawConnection &operator=(const RawConnection &) = delete;
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    // The first value of the first row `sql` gives.
    QVariant value(const QString &sql) const
    {
        QSqlQuery query(db());
        EXPECT_TRUE(query.exec(sql)) << qPrintable(sql) << ": " << qPrintable(query.lastError().text());
        return query.next() ? query.value(0) : QVariant();
    }

private:
    QString m_name;
};

// A fresh, open register of each engine (the test's parameter).
class RegisterTest : public ::testing::TestWithParam<Engine>
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(reg.open(registerPath()), Register::OpenStatus::Ok) << qPrintable(reg.errorString());
    }
    QString registerPath() const { return scratch.location(); }
    Engine engine() const { return GetParam(); }

    // Adds `cells` as from a file called `name`; the counts.
    ImportCounts add(const QList<ArchiveCell> &cells, const QString &name = QStringLiteral("a.db"))
    {
        RegisterSource source = fileSource(name);
        ImportCounts counts;
        EXPECT_TRUE(reg.importCells(cells, source, counts)) << qPrintable(reg.errorString());
        return counts;
    }
    QList<RegisterId> ids(const MeasurementSelection &selection)
    {
        QList<RegisterId> result;
        for (const RegisterMeasurement &m : reg.measurements(selection))
            result << m.id;
        return result;
    }

    ScratchRegister scratch {GetParam()};
    const QTemporaryDir &dir = scratch.dir();
    Register reg;
};

// The register's cases that concern its file alone.
class SqliteRegisterTest : public RegisterTest
{
};

} // namespace luvir::test
