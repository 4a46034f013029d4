#include "RegisterDatabase.h"

#include "RegisterSchema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <atomic>

namespace luvir {

namespace {

const QByteArray kSqliteMagic("SQLite format 3\0", 16);

enum class FileLook { Missing, Empty, Sqlite, CutShort, Foreign };

// What the file's first bytes and its length say, before SQLite is let near it.
FileLook lookAtFile(const QString &fileName)
{
    QFileInfo info(fileName);
    if (!info.exists())
        return FileLook::Missing;
    if (info.isFile() && info.size() == 0)
        return FileLook::Empty;
    QFile file(fileName);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return FileLook::Sqlite; // SQLite's own open says what is wrong
    const QByteArray header = file.read(100);
    if (!kSqliteMagic.startsWith(header.left(16)))
        return FileLook::Foreign;
    if (header.size() < 100)
        return FileLook::CutShort;
    // The page size, big-endian at offset 16 (1 stands for 65536); a file of whole pages.
    int pageSize = (static_cast<quint8>(header[16]) << 8) | static_cast<quint8>(header[17]);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return FileLook::CutShort;
    return info.size() % pageSize == 0 ? FileLook::Sqlite : FileLook::CutShort;
}

QString newConnectionName()
{
    static std::atomic<int> counter {0};
    return QStringLiteral("luvir-register-%1").arg(++counter);
}

const QString kUntouched = QStringLiteral(" Файл оставлен без изменений.");

} // namespace

RegisterDatabase::RegisterDatabase(SqlDialect::Engine engine)
    : m_dialect(engine)
    , m_connectionName(newConnectionName())
{
}

RegisterDatabase::~RegisterDatabase()
{
    close();
}

QSqlDatabase RegisterDatabase::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

void RegisterDatabase::close()
{
    if (QSqlDatabase::contains(m_connectionName)) {
        {
            QSqlDatabase db = database();
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }
    m_open = false;
}

RegisterDatabase::OpenStatus RegisterDatabase::refuse(OpenStatus status, const QString &text)
{
    m_error = text;
    return status;
}

RegisterDatabase::OpenStatus RegisterDatabase::open(const QString &fileName, Check check)
{
    close();
    m_error.clear();
    m_fileName = fileName;
    const QString shown = QDir::toNativeSeparators(fileName);

    const FileLook look = lookAtFile(fileName);
    if (look == FileLook::Foreign)
        return refuse(OpenStatus::NotARegister,
            QStringLiteral("Файл «%1» не является журналом испытаний.").arg(shown) + kUntouched);
    if (look == FileLook::CutShort)
        return refuse(OpenStatus::Damaged,
            QStringLiteral("Журнал «%1» повреждён: файл обрезан.").arg(shown) + kUntouched);
    if (look == FileLook::Missing && !QDir().mkpath(QFileInfo(fileName).absolutePath()))
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Не удалось создать журнал «%1»: нет папки и её нельзя создать.").arg(shown));

    OpenStatus status = OpenStatus::Ok;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect.driverName(), m_connectionName);
        db.setDatabaseName(fileName);
        if (db.open()) {
            m_open = true;
            status = inspectAndPrepare(check);
        } else {
            status = refuse(OpenStatus::CannotOpen,
                QStringLiteral("Не удалось открыть журнал «%1»: %2.").arg(shown, describe(db.lastError())));
        }
    }
    if (status != OpenStatus::Ok)
        close(); // every query and handle of the connection is gone by now
    return status;
}

void RegisterDatabase::setBusyTimeout(int milliseconds)
{
    m_busyMs = milliseconds;
    if (m_open)
        QSqlQuery(database()).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(m_busyMs));
}

RegisterDatabase::OpenStatus RegisterDatabase::inspectAndPrepare(Check check)
{
    const QString shown = QDir::toNativeSeparators(m_fileName);
    QSqlDatabase db = database();
    QSqlQuery query(db);
    // Waiting for another writer is the only setting made before the file is known to be ours;
    // it lives in the connection, not in the file.
    query.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(m_busyMs));

    auto damaged = [&](const QString &why) {
        return refuse(
            OpenStatus::Damaged, QStringLiteral("Журнал «%1» повреждён: %2.").arg(shown, why) + kUntouched);
    };
    auto notRegister = [&] {
        return refuse(OpenStatus::NotARegister,
            QStringLiteral("Файл «%1» не является журналом испытаний.").arg(shown) + kUntouched);
    };
    auto readNumber = [&](const QString &sql, int &value) {
        if (!query.exec(sql) || !query.next())
            return false;
        value = query.value(0).toInt();
        query.finish();
        return true;
    };

    int mark = 0;
    int version = 0;
    int tables = 0;
    if (!readNumber(m_dialect.readMark(), mark) || !readNumber(m_dialect.readVersion(), version)
        || !readNumber(m_dialect.countTables(), tables)) {
        const QString code = m_dialect.primaryCode(query.lastError());
        if (code == QLatin1String("26"))
            return notRegister();
        if (code == QLatin1String("11"))
            return damaged(describe(query.lastError()));
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Не удалось прочитать журнал «%1»: %2.").arg(shown, describe(query.lastError())));
    }
    // A new register is an empty database; any other database without our mark is not one.
    const bool emptyDatabase = mark == 0 && version == 0 && tables == 0;
    if (!emptyDatabase && mark != SqlDialect::kRegisterMark)
        return notRegister();
    if (version > kRegisterSchemaVersion)
        return refuse(OpenStatus::NewerSchema,
            QStringLiteral(
                "Журнал «%1» создан более новой версией программы (версия журнала %2, эта программа "
                "знает версии до %3) и не может быть открыт.")
                    .arg(shown)
                    .arg(version)
                    .arg(kRegisterSchemaVersion)
                + kUntouched);
    if (!emptyDatabase && check == Check::Thorough) {
        if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
            return damaged(describe(query.lastError()));
        const QString verdict = query.value(0).toString();
        query.finish();
        if (verdict != QLatin1String("ok"))
            return damaged(verdict);
    }

    // The file is ours: now it may be written. The schema is created in one commit, so
    // another program opening it meanwhile finds nothing or all of it.
    query.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    query.finish();
    QString error;
    if (!migrateRegister(db, m_dialect, version, error))
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Не удалось подготовить журнал «%1»: %2.").arg(shown, error));
    if (m_dialect.engine() == SqlDialect::Engine::Sqlite)
        query.exec(QStringLiteral("PRAGMA journal_mode = WAL")); // a read-only register stays as it is
    query.finish();
    return OpenStatus::Ok;
}

QString RegisterDatabase::describe(const QSqlError &error) const
{
    const QString code = m_dialect.primaryCode(error);
    if (m_dialect.isBusy(error))
        return QStringLiteral("журнал занят другой программой дольше %1 с").arg(m_busyMs / 1000.0);
    if (code == QLatin1String("8"))
        return QStringLiteral("журнал открыт только для чтения");
    if (code == QLatin1String("13"))
        return QStringLiteral("на диске не хватает места");
    if (code == QLatin1String("11") || code == QLatin1String("26"))
        return QStringLiteral("файл журнала повреждён");
    if (code == QLatin1String("10"))
        return QStringLiteral("ошибка записи на диск (%1)").arg(error.driverText());
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.isEmpty() ? QStringLiteral("неизвестная ошибка") : text;
}

bool RegisterDatabase::fail(const QSqlQuery &query)
{
    m_lastBusy = m_dialect.isBusy(query.lastError());
    m_error = describe(query.lastError());
    return false;
}

bool RegisterDatabase::fail(const QString &reason)
{
    m_lastBusy = false;
    m_error = reason;
    return false;
}

bool RegisterDatabase::write(const std::function<bool()> &work)
{
    if (!m_open)
        return fail(QStringLiteral("журнал не открыт"));
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        m_error.clear();
        m_lastBusy = false;
        QSqlDatabase db = database();
        QSqlQuery begin(db);
        if (begin.exec(m_dialect.beginWrite()) && work()) {
            QSqlQuery commit(db);
            if (commit.exec(QStringLiteral("COMMIT")))
                return true;
            fail(commit);
        } else if (m_error.isEmpty()) {
            fail(begin);
        }
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        if (!m_lastBusy || waited.elapsed() >= m_busyMs)
            return false;
        QThread::msleep(QRandomGenerator::global()->bounded(5, 50)); // let the other writer finish
    }
}

bool RegisterDatabase::read(const std::function<bool()> &work)
{
    if (!m_open)
        return fail(QStringLiteral("журнал не открыт"));
    m_error.clear();
    QSqlDatabase db = database();
    QSqlQuery(db).exec(QStringLiteral("BEGIN"));
    const bool ok = work();
    QSqlQuery(db).exec(ok ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
    return ok;
}

} // namespace luvir
