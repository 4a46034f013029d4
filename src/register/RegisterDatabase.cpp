#include "RegisterDatabase.h"

#include "RegisterFileCheck.h"
#include "RegisterLocation.h"
#include "RegisterSchema.h"
#include "RegisterServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <atomic>
#include <cerrno>

namespace luvir {

namespace {

QString newConnectionName()
{
    static std::atomic<int> counter {0};
    return QStringLiteral("luvir-register-%1").arg(++counter);
}

// A location as the user typed it, for a refusal: every password left out, even where the
// location cannot be parsed.
QString withoutPassword(QString location)
{
    static const QRegularExpression userPassword(QStringLiteral("^([a-z]+://[^/@:]*):[^/@]*@"));
    static const QRegularExpression queryPassword(QStringLiteral("([?&]password=)[^&]*"));
    return location.replace(userPassword, QStringLiteral("\\1@")).replace(queryPassword, QStringLiteral("\\1…"));
}

// An addition to a large register changes pages all over the cell's and the dates' indexes:
// they are kept in memory until the commit instead of being written out and read back in the
// middle of it (up to 64 MiB, taken only as the pages are read), and the undo of a single
// statement lives in memory, not in a file.
void applySpeedSettings(QSqlQuery &query)
{
    query.exec(QStringLiteral("PRAGMA cache_size = -65536"));
    query.exec(QStringLiteral("PRAGMA temp_store = MEMORY"));
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
    const QString &location, Opening opening, const QString &password)
{
    close();
    m_error.clear();
    m_renamedOnUpgrade.clear();
    m_password.clear();
    m_readOnlyReason.clear();
    m_damaged = false;
    if (isServerLocation(location))
        return openServer(location, password);
    return openFile(location, opening);
}

RegisterDatabase::Address RegisterDatabase::address() const
{
    Address address;
    if (!m_open)
        return address;
    address.m_location = m_fileName;
    address.m_password = m_password;
    address.m_busyMs = m_busyMs;
    address.m_damaged = m_damaged;
    return address;
}

RegisterDatabase::OpenStatus RegisterDatabase::openLike(const Address &address)
{
    if (address.m_location.isEmpty()) { // the other one is not open
        close();
        return refuse(OpenStatus::CannotOpen, QStringLiteral("журнал не открыт"));
    }
    if (!m_open || m_fileName != address.m_location || m_password != address.m_password) {
        const OpenStatus status = open(address.m_location, Opening::ExistingOnly, address.m_password);
        if (status != OpenStatus::Ok)
            return status;
    }
    setBusyTimeout(address.m_busyMs);
    m_damaged = m_damaged || address.m_damaged;
    return OpenStatus::Ok;
}

RegisterDatabase::OpenStatus RegisterDatabase::openServer(const QString &location, const QString &password)
{
    m_dialect = SqlDialect(SqlDialect::Engine::Postgres);
    QString error;
    auto server = ServerLocation::parse(location, error);
    if (!server) {
        m_fileName = withoutPassword(location);
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Неверный адрес журнала \"%1\": %2.").arg(m_fileName, error));
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
                QStringLiteral("Не удалось подключиться к журналу \"%1\": в системе нет драйвера PostgreSQL "
                               "для Qt (пакет libqt6sql6-psql).")
                    .arg(shown));
        } else {
            server->applyTo(db);
            if (db.open()) {
                m_open = true;
                quietServerNotices(db);
                status = checkServer();
                if (status == OpenStatus::Ok)
                    status = inspectAndPrepare();
            } else {
                const QString address = QStringLiteral("%1:%2").arg(db.hostName()).arg(db.port());
                const ServerRefusal refusal = diagnoseConnection(*server);
                QString why;
                switch (refusal) {
                case ServerRefusal::PortClosed:
                    why = QStringLiteral("на %1 не принимает соединений ни один сервер (порт закрыт)").arg(address);
                    break;
                case ServerRefusal::Unreachable:
                    why = QStringLiteral("сервер %1 не отвечает").arg(address);
                    break;
                case ServerRefusal::PasswordNeeded:
                    why = QStringLiteral("сервер требует пароль пользователя \"%1\"").arg(db.userName());
                    break;
                case ServerRefusal::Authentication:
                    why = QStringLiteral("сервер не принял пользователя \"%1\": неверный пароль или нет такого "
                                         "пользователя")
                              .arg(db.userName());
                    break;
                case ServerRefusal::NoDatabase:
                    why = QStringLiteral("на сервере нет базы данных \"%1\" или у пользователя \"%2\" нет права "
                                         "подключаться к ней")
                              .arg(db.databaseName(), db.userName());
                    break;
                case ServerRefusal::Other:
                    why = describe(db.lastError());
                    break;
                }
                status = refuse(refusal == ServerRefusal::PasswordNeeded ? OpenStatus::PasswordNeeded
                                                                        : OpenStatus::CannotOpen, QStringLiteral("Не удалось подключиться к журналу \"%1\": %2.").arg(shown, why));
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
    if (!query.exec(m_dialect.readServerVersion()) || !query.next())
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Не удалось прочитать журнал \"%1\": %2.").arg(m_fileName, describe(query.lastError())));
    const QString version = query.value(0).toString();
    query.finish();
    QString why;
    if (!serverVersionSupported(version, why))
        return refuse(OpenStatus::CannotOpen, QStringLiteral("Сервер журнала \"%1\" — %2.").arg(m_fileName, why));
    return OpenStatus::Ok;
}

RegisterDatabase::OpenStatus RegisterDatabase::openFile(const QString &fileName, Opening opening)
{
    m_dialect = SqlDialect(SqlDialect::Engine::Sqlite);
    m_fileName = fileName;
    const QString shown = QDir::toNativeSeparators(fileName);

    FileInspection seen = inspectRegisterFile(fileName);
    // A program creating a register this moment holds its rollback journal: wait for it.
    QElapsedTimer waited;
    waited.start();
    while (seen.verdict != FileInspection::Verdict::Readable && seen.verdict != FileInspection::Verdict::Missing
        && QFileInfo::exists(fileName + QStringLiteral("-journal")) && waited.elapsed() < m_busyMs) {
        QThread::msleep(20);
        seen = inspectRegisterFile(fileName);
    }
    const auto notRegister = [&] {
        return refuse(OpenStatus::NotARegister,
            QStringLiteral("Файл \"%1\" не является журналом испытаний.").arg(shown) + kUntouched);
    };
    const auto damaged = [&](const QString &why) {
        return refuse(
            OpenStatus::Damaged, QStringLiteral("Журнал \"%1\" повреждён: %2.").arg(shown, why) + kUntouched);
    };
    switch (seen.verdict) {
    case FileInspection::Verdict::Missing:
    case FileInspection::Verdict::Empty:
        if (opening == Opening::CreateIfMissing)
            return createFile(fileName, seen.verdict == FileInspection::Verdict::Missing);
        if (seen.verdict == FileInspection::Verdict::Missing)
            return refuse(OpenStatus::CannotOpen, QStringLiteral("Журнала \"%1\" нет.").arg(shown));
        return refuse(OpenStatus::NotARegister,
            QStringLiteral("Файл \"%1\" пуст и не является журналом испытаний; новый журнал делает "
                           "«Создать журнал…».")
                    .arg(shown)
                + kUntouched);
    case FileInspection::Verdict::NotAFile:
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Не удалось открыть журнал \"%1\": это %2, а не файл.")
                .arg(shown, seen.folder ? QStringLiteral("папка") : QStringLiteral("канал или устройство")));
    case FileInspection::Verdict::Foreign:
        return notRegister();
    case FileInspection::Verdict::CutShort:
        return damaged(QStringLiteral("файл обрезан"));
    case FileInspection::Verdict::Damaged:
        return damaged(seen.reason);
    case FileInspection::Verdict::Unreadable:
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Не удалось прочитать журнал \"%1\": %2.").arg(shown, seen.reason));
    case FileInspection::Verdict::Readable:
        break;
    }
    // A new register is an empty database; any other database without our mark is not one.
    const bool emptyDatabase = seen.mark == 0 && seen.version == 0 && seen.tables == 0;
    if (!emptyDatabase && seen.mark != SqlDialect::kRegisterMark)
        return notRegister();
    if (seen.version > kRegisterSchemaVersion)
        return refuse(OpenStatus::NewerSchema,
            QStringLiteral(
                "Журнал \"%1\" создан более новой версией программы (версия журнала %2, эта программа "
                "знает версии до %3) и не может быть открыт.")
                    .arg(shown)
                    .arg(seen.version)
                    .arg(kRegisterSchemaVersion)
                + kUntouched);
    if (emptyDatabase && opening == Opening::ExistingOnly)
        return notRegister();
    return openExistingFile(fileName, seen.version);
}

RegisterDatabase::OpenStatus RegisterDatabase::createFile(const QString &fileName, bool missing)
{
    const QString shown = QDir::toNativeSeparators(fileName);
    // What this call makes, so that a failed creation leaves nothing behind: the folders and
    // the file (an empty file given to it is another's and stays).
    QStringList madeFolders;
    for (QString folder = QFileInfo(fileName).absolutePath(); !QFileInfo::exists(folder);) {
        madeFolders.prepend(folder);
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    const auto undo = [&](const QString &why) {
        close();
        if (missing)
            for (const QString &suffix : {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")})
                QFile::remove(fileName + suffix);
        for (auto folder = madeFolders.crbegin(); folder != madeFolders.crend(); ++folder)
            QDir().rmdir(*folder);
        return refuse(OpenStatus::CannotOpen, QStringLiteral("Не удалось создать журнал \"%1\": %2.").arg(shown, why));
    };
    for (const QString &folder : std::as_const(madeFolders))
        if (!QDir().mkdir(folder))
            return undo(QStringLiteral("нельзя создать папку \"%1\" (%2)")
                            .arg(QDir::toNativeSeparators(folder), systemReason(folderWriteError(folder + u'/'))));
    if (missing) {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (!file.exists()) {
                const int error = folderWriteError(fileName);
                return undo(error == 0 ? file.errorString() : systemReason(error));
            }
            missing = false; // another program made it this moment; it is theirs
        }
    }
    if (!connectFile(fileName, false))
        return undo(describe(database().lastError()));
    QString error;
    if (!prepareFile(0, error))
        return undo(error);
    return OpenStatus::Ok;
}

RegisterDatabase::OpenStatus RegisterDatabase::openExistingFile(const QString &fileName, int version)
{
    const QString shown = QDir::toNativeSeparators(fileName);
    const QString folder = QDir::toNativeSeparators(QFileInfo(fileName).absolutePath());
    // The log and its index this opening makes, when it cannot finish them, are taken away.
    const QString sideFiles[] = {fileName + QStringLiteral("-wal"), fileName + QStringLiteral("-shm")};
    const bool sideFilesThere = QFileInfo::exists(sideFiles[0]) || QFileInfo::exists(sideFiles[1]);
    QString why;
    if (const int error = folderWriteError(fileName); error != 0) {
        why = QStringLiteral("в папку \"%1\" нельзя записывать (%2)").arg(folder, systemReason(error));
    } else if (connectFile(fileName, false) && prepareFile(version, why)) {
        return OpenStatus::Ok;
    } else {
        // The log and its index could not be made or written: read it as it is.
        const int error = sqliteSystemError(database());
        if (why.isEmpty())
            why = describe(database().lastError());
        close();
        // Only when no other program had them: one that has them open has them whole.
        if (!sideFilesThere && QFileInfo(sideFiles[0]).size() == 0 && QFileInfo(sideFiles[1]).size() < 32768)
            for (const QString &side : sideFiles)
                QFile::remove(side);
        if (error == ENOSPC || error == EDQUOT)
            why = QStringLiteral("на диске в папке \"%1\" не хватает места (%2)").arg(folder, systemReason(error));
        else if (error == EROFS || error == EACCES || error == EPERM)
            why = QStringLiteral("в папку \"%1\" нельзя записывать (%2)").arg(folder, systemReason(error));
        else
            return refuse(OpenStatus::CannotOpen, QStringLiteral("Не удалось открыть журнал \"%1\": %2.").arg(shown, why));
    }
    if (version != kRegisterSchemaVersion)
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Журнал \"%1\" сделан прежней версией программы и его нельзя обновить: %2.").arg(shown, why));
    if (!connectFile(fileName, true)) {
        const QString reason = describe(database().lastError());
        close();
        return refuse(OpenStatus::CannotOpen, QStringLiteral("Не удалось открыть журнал \"%1\": %2.").arg(shown, reason));
    }
    m_readOnlyReason = why;
    return OpenStatus::Ok;
}

bool RegisterDatabase::connectFile(const QString &fileName, bool readOnly)
{
    close();
    QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect.driverName(), m_connectionName);
    if (readOnly) {
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        db.setDatabaseName(readOnlyUri(fileName));
    } else {
        db.setDatabaseName(fileName);
    }
    if (!db.open())
        return false;
    m_open = true;
    applyBusyTimeout();
    QSqlQuery query(db);
    if (!readOnly)
        return true;
    // A read that proves the connection works.
    return query.exec(m_dialect.countTables()) && query.next();
}

bool RegisterDatabase::prepareFile(int version, QString &error)
{
    QSqlDatabase db = database();
    QSqlQuery query(db);
    query.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    applySpeedSettings(query);
    // The log first, so that the schema of a new register is written in it: another
    // program looking meanwhile reads the file of before, never half of it.
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.next()) {
        error = describe(query.lastError());
        return false;
    }
    query.finish();
    if (!migrateRegister(db, m_dialect, version, error, m_renamedOnUpgrade))
        return false;
    // A read that makes the log's index: a folder that cannot take it fails here.
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next()) {
        error = describe(query.lastError());
        return false;
    }
    query.finish();
    return true;
}

void RegisterDatabase::setBusyTimeout(int milliseconds)
{
    m_busyMs = milliseconds;
    if (m_open)
        applyBusyTimeout();
}

void RegisterDatabase::applyBusyTimeout()
{
    QSqlQuery(database()).exec(m_dialect.waitForLocks(m_busyMs));
}

RegisterDatabase::OpenStatus RegisterDatabase::inspectAndPrepare()
{
    // A server's database; a file is looked at before it is opened (openFile).
    const QString shown = m_fileName;
    QSqlDatabase db = database();
    QSqlQuery query(db);
    // Waiting for another writer is the only setting made before the file is known to be ours;
    // it lives in the connection, not in the file.
    applyBusyTimeout();

    auto damaged = [&](const QString &why) {
        return refuse(
            OpenStatus::Damaged, QStringLiteral("Журнал \"%1\" повреждён: %2.").arg(shown, why) + kUntouched);
    };
    auto notRegister = [&] {
        return refuse(OpenStatus::NotARegister,
            QStringLiteral("Файл \"%1\" не является журналом испытаний.").arg(shown) + kUntouched);
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
        const SqlDialect::Failure failure = m_dialect.failureOf(query.lastError());
        if (failure == SqlDialect::Failure::NotADatabase)
            return notRegister();
        if (failure == SqlDialect::Failure::Damaged)
            return damaged(describe(query.lastError()));
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Не удалось прочитать журнал \"%1\": %2.").arg(shown, describe(query.lastError())));
    }
    // A new register is an empty database; any other database without our mark is not one.
    const bool emptyDatabase = mark == 0 && version == 0 && tables == 0;
    if (!emptyDatabase && mark != SqlDialect::kRegisterMark)
        return notRegister();
    if (version > kRegisterSchemaVersion)
        return refuse(OpenStatus::NewerSchema,
            QStringLiteral(
                "Журнал \"%1\" создан более новой версией программы (версия журнала %2, эта программа "
                "знает версии до %3) и не может быть открыт.")
                    .arg(shown)
                    .arg(version)
                    .arg(kRegisterSchemaVersion)
                + kUntouched);

    // The database is ours: now it may be written. The schema is created in one commit, so
    // another program opening it meanwhile finds nothing or all of it.
    if (version < kRegisterSchemaVersion) {
        // Creating or migrating needs the right to create tables; say which one is missing.
        if (query.exec(m_dialect.readCreateRight()) && query.next() && !query.value(1).toBool())
            return refuse(OpenStatus::CannotOpen,
                QStringLiteral("Журнал \"%1\" нельзя %2: у пользователя \"%3\" нет права CREATE на схему \"%4\". "
                               "Его даёт владелец базы: GRANT CREATE ON SCHEMA %4 TO %3.")
                    .arg(shown, version == 0 ? QStringLiteral("создать") : QStringLiteral("обновить"),
                        db.userName(), query.value(0).toString()));
        query.finish();
    }
    QString error;
    if (!migrateRegister(db, m_dialect, version, error, m_renamedOnUpgrade))
        return refuse(OpenStatus::CannotOpen,
            QStringLiteral("Не удалось подготовить журнал \"%1\": %2.").arg(shown, error));
    return OpenStatus::Ok;
}

QString RegisterDatabase::describe(const QSqlError &error) const
{
    using Failure = SqlDialect::Failure;
    // The system's own reason, when the engine met one (a file's), closes the sentence.
    const int systemError = sqliteSystemError(database());
    const QString because = systemError != 0 ? QStringLiteral(" (%1)").arg(systemReason(systemError)) : QString();
    Failure failure = m_dialect.failureOf(error);
    const bool ownMeaning = failure == Failure::Busy || failure == Failure::NameTaken
        || failure == Failure::NoRight || failure == Failure::ReadOnly || failure == Failure::ServerFull;
    if (!ownMeaning && (systemError == ENOSPC || systemError == EDQUOT))
        failure = Failure::DiskFull;
    else if (!ownMeaning && m_dialect.connectionCanBeLost() && serverConnectionLost(database()))
        failure = Failure::ConnectionLost;
    switch (failure) {
    case Failure::Busy:
        return QStringLiteral("журнал занят другой программой дольше %1 с").arg(m_busyMs / 1000.0);
    case Failure::NameTaken: // names are the register's only unique texts: another took this one meanwhile
        return QStringLiteral("такое название в журнале уже есть");
    case Failure::NoRight: // the server's text holds its SQL: the right in plain words
        return QStringLiteral(
            "у пользователя \"%1\" нет права читать или изменять таблицы журнала; его даёт "
            "владелец базы (GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA …)")
            .arg(database().userName());
    case Failure::ReadOnly:
        return QStringLiteral("журнал открыт только для чтения") + because;
    case Failure::DiskFull:
        return QStringLiteral("на диске не хватает места (%1)").arg(systemReason(systemError != 0 ? systemError : ENOSPC));
    case Failure::ServerFull:
        return QStringLiteral("на сервере не хватает места");
    case Failure::ConnectionLost:
        return QStringLiteral("связь с сервером журнала прервана; ничего из начатого не сохранено");
    case Failure::Damaged:
    case Failure::NotADatabase:
        return QStringLiteral("файл журнала повреждён");
    case Failure::WriteError:
        return QStringLiteral("ошибка записи на диск") + because;
    case Failure::CannotOpen:
        return QStringLiteral("файл журнала не открывается") + because;
    case Failure::Other:
        break;
    }
    return m_dialect.otherFailure(error) + because;
}

bool RegisterDatabase::fail(const QSqlQuery &query)
{
    m_lastBusy = m_dialect.isBusy(query.lastError());
    m_error = describe(query.lastError());
    if (m_dialect.isDamage(query.lastError()))
        m_damaged = true;
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
    if (!m_dialect.connectionCanBeLost() || !serverConnectionLost(db))
        return true;
    db.close();
    db.setPassword(m_password);
    if (!db.open())
        return fail(QStringLiteral("нет связи с сервером журнала %1:%2").arg(db.hostName()).arg(db.port()));
    quietServerNotices(db);
    applyBusyTimeout();
    return true;
}

bool RegisterDatabase::write(const std::function<bool()> &work)
{
    if (!m_open)
        return fail(QStringLiteral("журнал не открыт"));
    if (m_damaged)
        return fail(QStringLiteral("журнал \"%1\" повреждён, в него ничего не записывается")
                        .arg(QDir::toNativeSeparators(m_fileName)));
    if (isReadOnly())
        return fail(QStringLiteral("журнал открыт только для чтения: %1").arg(m_readOnlyReason));
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
