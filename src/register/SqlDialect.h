#pragma once
// Everything in which the register's SQL differs between the database engines, said once:
// the column types the schema is written with, how a write transaction begins, inserting a
// row that may exist already, where the schema's version is kept, and which errors mean
// "another writer holds the database, try again". The rest of the register's SQL is the
// same for every engine.

#include <QString>
#include <QStringList>

class QSqlDatabase;
class QSqlError;

namespace luvir {

class SqlDialect
{
public:
    enum class Engine { Sqlite, Postgres };

    explicit SqlDialect(Engine engine)
        : m_engine(engine)
    {
    }

    Engine engine() const { return m_engine; }
    // The Qt SQL driver's name: "QSQLITE" or "QPSQL".
    QString driverName() const;

    // The schema's text with its placeholders filled in: {id} an automatic integer key,
    // {blob} a byte string column.
    QString schemaText(QString text) const;

    // Starts a transaction that will write; SQLite takes the write lock at once, so a
    // second writer waits at the start instead of failing half-way.
    QString beginWrite() const;

    // Starts a read transaction whose statements all see the database of one moment.
    QString beginSnapshot() const;

    // "INSERT … VALUES (?, …)" that inserts nothing when a unique key is taken already,
    // followed by `returning` ("RETURNING id") when given; `rows` rows of values at once.
    QString insertIgnoring(const QString &table, const QStringList &columns, const QString &returning = {},
        qsizetype rows = 1) const;

    // Reading and writing the schema's version number (SQLite: PRAGMA user_version; a
    // server: the table schema_version). `version` is the program's own number.
    QString readVersion() const;
    QStringList writeVersion(int version) const;

    // Makes a second program changing the schema at the same moment wait until the first
    // has committed: run before beginWrite(), and unlockSchema() after the commit (empty
    // where the write transaction itself does it).
    QString lockSchema() const;
    QString unlockSchema() const;

    // The mark that tells a register from any other database of the engine: set when the
    // schema is created, read back on opening. SQLite: PRAGMA application_id; a server: the
    // version table itself.
    QStringList writeMark() const;
    QString readMark() const; // one row, one value: equal to kRegisterMark when it is a register
    static constexpr int kRegisterMark = 0x4C565247; // "LVRG"

    // Writes the whole database, as of one moment, into the file bound to its one "?" (which
    // must not exist or be empty). Empty where the engine has no such statement (a server's
    // copy is made by its own tools: pg_dump).
    QString copyInto() const;

    // One row, one value: how many tables the database holds (0 for a new, empty one).
    QString countTables() const;

    // How long a statement waits for another writer's lock before failing as busy: SQLite
    // waits for the lock itself; a server is told to give up a lock wait. `milliseconds` is
    // the program's own number.
    QString waitForLocks(int milliseconds) const;

    // Whether the error is damage of the database's file (a server keeps its own pages).
    bool isDamage(const QSqlError &error) const;

    // What an error means to the register, whichever engine gave it.
    enum class Failure {
        Busy, // another writer holds the database: worth trying the whole transaction again
        NameTaken, // a unique key refused the change
        NoRight, // the user may not read or change the register's tables
        ReadOnly,
        DiskFull, // the disk the register's file is on
        ServerFull, // the server's own disk
        ConnectionLost,
        Damaged,
        NotADatabase,
        WriteError,
        CannotOpen,
        Other,
    };
    Failure failureOf(const QSqlError &error) const;
    // What an error of no known kind says, in the user's words: a server's own text, or the
    // engine's code.
    QString otherFailure(const QSqlError &error) const;

    // One row, one value: the server's version number ("150004"); empty for a file.
    QString readServerVersion() const;
    // One row: the current schema and whether the user may create tables in it; empty where
    // the engine has no such right (a file: the folder's rights say it).
    QString readCreateRight() const;

    // Whether the connection can be lost and made again (a server's, not a file's).
    bool connectionCanBeLost() const { return m_engine == Engine::Postgres; }

    // Whether the database was busy with another writer: worth trying the whole
    // transaction again.
    bool isBusy(const QSqlError &error) const;
    // Whether a unique key refused the change (a name another row has).
    bool isUniqueViolation(const QSqlError &error) const;
    // The error's code without SQLite's extended part ("778", a write error, gives "10").
    // (A server's SQLSTATE is returned as it is.)
    QString primaryCode(const QSqlError &error) const;

private:
    Engine m_engine;
};

} // namespace luvir
