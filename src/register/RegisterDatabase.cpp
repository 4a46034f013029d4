#include "RegisterDatabase.h"

#include "RegisterLocation.h"
#include "RegisterSchema.h"
#include "RegisterServer.h"

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

RegisterDatabase::RegisterDatabase()
    : m_dialect(SqlDialect::Engine::Sqlite)
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

RegisterDatabase::OpenStatus RegisterDatabase::open(
    const QString &location, Check check, const QString &password)
{
    close();
    m_error.clear();
    m_renamedOnUpgrade.clear();
    m_password.clear();
    if (isServerLocation(location))
        return openServer(location, check, password);
    return openFile(location, check);
}

RegisterDatabase::OpenStatus RegisterDatabase::openServer(
    const QString &location, Check check, const QString &password)
{
    m_dialect = SqlDialect(SqlDialect::Engine::Postgres);
    QString error;
    auto server = ServerLocation::parse(location, error);
    if (!server) {
        m_fileName = shownLocation(location);
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Неверный адрес журнала «%1»: %2.").arg(m_fileName, error));
    }
    if (!password.isEmpty())
        server->password = password;
    else if (server->password.isEmpty())
        server->password = sessionPassword(location); // typed earlier in this run
    m_password = server->password;
    m_fileName = server->uri();
    const QString shown = m_fileName;

    OpenStatus status = OpenStatus::Ok;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect.driverName(), m_connectionName);
        if (!db.isValid()) {
            status = refuse(OpenStatus::CannotOpen,
                QStringLiteral("Не удалось подключиться к журналу «%1»: в системе нет драйвера PostgreSQL "
                               "для Qt (пакет libqt6sql6-psql).")
                    .arg(shown));
        } else {
            server->applyTo(db);
            if (db.open()) {
                m_open = true;
                status = checkServer();
                if (status == OpenStatus::Ok)
                    status = inspectAndPrepare(check);
            } else {
                const QString address = QStringLiteral("%1:%2").arg(db.hostName()).arg(db.port());
                const ServerRefusal refusal = diagnoseConnection(*server);
                QString why;
                switch (refusal) {
                case ServerRefusal::Unreachable:
                    why = QStringLiteral("сервер %1 не отвечает").arg(address);
                    break;
                case ServerRefusal::PasswordNeeded:
                    why = QStringLiteral("сервер требует пароль пользователя «%1»").arg(db.userName());
                    break;
                case ServerRefusal::Authentication:
                    why = QStringLiteral("сервер не принял пользователя «%1»: неверный пароль или нет такого "
                                         "пользователя")
                              .arg(db.userName());
                    break;
                case ServerRefusal::NoDatabase:
                    why = QStringLiteral("на сервере нет базы данных «%1» или у пользователя «%2» нет права "
                                         "подключаться к ней")
                              .arg(db.databaseName(), db.userName());
                    break;
                case ServerRefusal::Other:
                    why = describe(db.lastError());
                    break;
                }
                status = refuse(refusal == ServerRefusal::PasswordNeeded ? OpenStatus::PasswordNeeded
                                                                        : OpenStatus::CannotOpen, QStringLiteral("Не удалось подключиться к журналу «%1»: %2.").arg(shown, why));
            }
        }
    }
    if (status != OpenStatus::Ok)
        close();
    return status;
}

RegisterDatabase::OpenStatus RegisterDatabase::checkServer()
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("SHOW server_version_num")) || !query.next())
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Не удалось прочитать журнал «%1»: %2.").arg(m_fileName, describe(query.lastError())));
    const QString version = query.value(0).toString();
    query.finish();
    QString why;
    if (!serverVersionSupported(version, why))
        return refuse(OpenStatus::CannotOpen, QStringLiteral("Сервер журнала «%1» — %2.").arg(m_fileName, why));
    return OpenStatus::Ok;
}

RegisterDatabase::OpenStatus RegisterDatabase::openFile(const QString &fileName, Check check)
{
    m_dialect = SqlDialect(SqlDialect::Engine::Sqlite);
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
        applyBusyTimeout();
}

void RegisterDatabase::applyBusyTimeout()
{
    // SQLite waits for the lock itself; a server is told to give up a lock wait as busy.
    QSqlQuery(database()).exec(m_dialect.engine() == SqlDialect::Engine::Sqlite
            ? QStringLiteral("PRAGMA busy_timeout = %1").arg(m_busyMs)
            : QStringLiteral("SET lock_timeout = %1").arg(m_busyMs));
}

RegisterDatabase::OpenStatus RegisterDatabase::inspectAndPrepare(Check check)
{
    const bool sqlite = m_dialect.engine() == SqlDialect::Engine::Sqlite;
    const QString shown = sqlite ? QDir::toNativeSeparators(m_fileName) : m_fileName;
    QSqlDatabase db = database();
    QSqlQuery query(db);
    // Waiting for another writer is the only setting made before the file is known to be ours;
    // it lives in the connection, not in the file.
    applyBusyTimeout();

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
    // Read in one snapshot: another program creating the register meanwhile is seen before
    // or after, never half-way (a table but no mark yet).
    QSqlQuery(db).exec(m_dialect.beginSnapshot());
    const bool known = readNumber(m_dialect.readMark(), mark) && readNumber(m_dialect.readVersion(), version)
        && readNumber(m_dialect.countTables(), tables);
    QSqlQuery(db).exec(known ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
    if (!known) {
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
    if (sqlite && !emptyDatabase && check == Check::Thorough) {
        if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next())
            return damaged(describe(query.lastError()));
        const QString verdict = query.value(0).toString();
        query.finish();
        if (verdict != QLatin1String("ok"))
            return damaged(verdict);
    }

    // The file is ours: now it may be written. The schema is created in one commit, so
    // another program opening it meanwhile finds nothing or all of it.
    if (sqlite)
        query.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    query.finish();
    if (!sqlite && version < kRegisterSchemaVersion) {
        // Creating or migrating needs the right to create tables; say which one is missing.
        if (query.exec(QStringLiteral("SELECT current_schema(), has_schema_privilege(current_schema(), 'CREATE')"))
            && query.next() && !query.value(1).toBool())
            return refuse(OpenStatus::CannotOpen,
                QStringLiteral("Журнал «%1» нельзя %2: у пользователя «%3» нет права CREATE на схему «%4». "
                               "Его даёт владелец базы: GRANT CREATE ON SCHEMA %4 TO %3.")
                    .arg(shown, version == 0 ? QStringLiteral("создать") : QStringLiteral("обновить"),
                        db.userName(), query.value(0).toString()));
        query.finish();
    }
    QString error;
    if (!migrateRegister(db, m_dialect, version, error, m_renamedOnUpgrade))
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Не удалось подготовить журнал «%1»: %2.").arg(shown, error));
    if (sqlite)
        query.exec(QStringLiteral("PRAGMA journal_mode = WAL")); // a read-only register stays as it is
    query.finish();
    return OpenStatus::Ok;
}

QString RegisterDatabase::describe(const QSqlError &error) const
{
    const QString code = m_dialect.primaryCode(error);
    if (m_dialect.isBusy(error))
        return QStringLiteral("журнал занят другой программой дольше %1 с").arg(m_busyMs / 1000.0);
    // Names are the register's only unique texts: another program took this one meanwhile.
    if (m_dialect.isUniqueViolation(error))
        return QStringLiteral("такое название в журнале уже есть");
    if (m_dialect.engine() == SqlDialect::Engine::Postgres) {
        const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
        if (code == QLatin1String("42501"))
            return QStringLiteral("у пользователя нет права на это действие (%1)").arg(text.trimmed());
        if (code == QLatin1String("25006"))
            return QStringLiteral("журнал открыт только для чтения");
        if (code == QLatin1String("53100"))
            return QStringLiteral("на сервере не хватает места");
        if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P"))
            || serverConnectionLost(database()))
            return QStringLiteral("связь с сервером журнала прервана; ничего из начатого не сохранено");
        return text.isEmpty() ? QStringLiteral("неизвестная ошибка") : text.trimmed();
    }
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

bool RegisterDatabase::reconnectIfLost()
{
    QSqlDatabase db = database();
    if (m_dialect.engine() != SqlDialect::Engine::Postgres || !serverConnectionLost(db))
        return true;
    db.close();
    db.setPassword(m_password);
    if (!db.open())
        return fail(QStringLiteral("нет связи с сервером журнала %1:%2").arg(db.hostName()).arg(db.port()));
    applyBusyTimeout();
    return true;
}

bool RegisterDatabase::write(const std::function<bool()> &work)
{
    if (!m_open)
        return fail(QStringLiteral("журнал не открыт"));
    if (!reconnectIfLost())
        return false;
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
    if (!reconnectIfLost())
        return false;
    m_error.clear();
    QSqlDatabase db = database();
    QSqlQuery(db).exec(m_dialect.beginSnapshot());
    const bool ok = work();
    QSqlQuery(db).exec(ok ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
    return ok;
}

} // namespace luvir
