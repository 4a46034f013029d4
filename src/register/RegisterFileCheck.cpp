#include "RegisterFileCheck.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QUrl>
#include <QVariant>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace luvir {

namespace {

const QByteArray kSqliteMagic("SQLite format 3\0", 16);

quint32 bigEndian32(const QByteArray &bytes, int at)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<quint8>(bytes[at + i]);
    return value;
}

// What the first 100 bytes and the length say; Readable when SQLite may look further.
FileInspection::Verdict lookAtHeader(const QString &fileName, qint64 size, QString &reason)
{
    const QByteArray name = QFile::encodeName(fileName);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        reason = systemReason(errno);
        return FileInspection::Verdict::Unreadable;
    }
    QByteArray header(100, '\0');
    const ssize_t got = ::read(fd, header.data(), 100);
    const int readError = errno;
    ::close(fd);
    if (got < 0) {
        reason = systemReason(readError);
        return FileInspection::Verdict::Unreadable;
    }
    header.truncate(got);
    if (!kSqliteMagic.startsWith(header.left(16)))
        return FileInspection::Verdict::Foreign;
    if (header.size() < 100)
        return FileInspection::Verdict::CutShort;
    // The page size, big-endian at offset 16 (1 stands for 65536); a file of whole pages.
    qint64 pageSize = (static_cast<quint8>(header[16]) << 8) | static_cast<quint8>(header[17]);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0 || size % pageSize != 0)
        return FileInspection::Verdict::CutShort;
    // The number of pages at offset 28 holds when the counter at 92 matches the one at 24;
    // without a log beside it the file must have them all.
    const quint32 pages = bigEndian32(header, 28);
    const bool pagesValid = pages != 0 && bigEndian32(header, 92) == bigEndian32(header, 24);
    const QFileInfo log(fileName + QStringLiteral("-wal"));
    if (pagesValid && (!log.exists() || log.size() == 0) && size < qint64(pages) * pageSize)
        return FileInspection::Verdict::CutShort;
    return FileInspection::Verdict::Readable;
}

// The first value of the first row of `sql`; SQLite's result code.
int readNumber(sqlite3 *db, const char *sql, int &value)
{
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            value = sqlite3_column_int(statement, 0);
            rc = SQLITE_OK;
        } else if (rc == SQLITE_DONE) {
            rc = SQLITE_OK;
        }
    }
    sqlite3_finalize(statement);
    return rc;
}

// Reads the first and the last row of every table: the pages from each table's root to
// both ends, so a damaged root or edge is found at once, whatever the register's size.
int readTableEdges(sqlite3 *db)
{
    QStringList tables;
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(db,
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'", -1,
        &statement, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        tables << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        rc = SQLITE_OK;
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE && rc != SQLITE_OK)
        return rc;
    for (QString table : tables) {
        table.replace(u'"', QStringLiteral("\"\""));
        for (const char *order : {"ASC", "DESC"}) {
            int unused = 0;
            const QByteArray sql
                = QStringLiteral("SELECT rowid FROM \"%1\" ORDER BY rowid %2 LIMIT 1").arg(table, QLatin1String(order)).toUtf8();
            rc = readNumber(db, sql.constData(), unused);
            if (rc != SQLITE_OK)
                return rc;
        }
    }
    return SQLITE_OK;
}

} // namespace

QString systemReason(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

QString readOnlyUri(const QString &fileName)
{
    const QString file = QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()).toString(QUrl::FullyEncoded);
    const QFileInfo log(fileName + QStringLiteral("-wal"));
    if (log.exists() && QFileInfo::exists(fileName + QStringLiteral("-shm")))
        return file + QStringLiteral("?mode=ro&readonly_shm=1");
    // No log (or one without its index, which only a writer could rebuild): the file alone.
    return file + QStringLiteral("?immutable=1");
}

int folderWriteError(const QString &fileName)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(fileName).absolutePath());
    return ::access(folder.constData(), W_OK) == 0 ? 0 : errno;
}

int sqliteSystemError(const QSqlDatabase &database)
{
    const QVariant handle = database.driver() ? database.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return 0;
    sqlite3 *db = *static_cast<sqlite3 *const *>(handle.constData());
    return db ? sqlite3_system_errno(db) : 0;
}

// Opens the register read-only, never writing it or its side files, and reads its mark,
// version, tables and each table's first and last row; `seen.verdict` says what was found.
static void inspectPages(const QString &fileName, FileInspection &seen)
{
    sqlite3 *db = nullptr;
    const QByteArray uri = readOnlyUri(fileName).toUtf8();
    int rc = sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        sqlite3_busy_timeout(db, 2000);
        // One read transaction for all: another program creating the register this moment is
        // seen before its schema or after it, never half-way (its tables, but not yet its mark).
        rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            rc = readNumber(db, "PRAGMA application_id", seen.mark);
        if (rc == SQLITE_OK)
            rc = readNumber(db, "PRAGMA user_version", seen.version);
        if (rc == SQLITE_OK)
            rc = readNumber(db, "SELECT count(*) FROM sqlite_master", seen.tables);
        if (rc == SQLITE_OK)
            rc = readTableEdges(db);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    const int systemError = db ? sqlite3_system_errno(db) : 0;
    sqlite3_close(db);
    switch (rc & 0xFF) {
    case SQLITE_OK:
        break;
    case SQLITE_NOTADB:
        seen.verdict = FileInspection::Verdict::Foreign;
        break;
    case SQLITE_CORRUPT:
        seen.verdict = FileInspection::Verdict::Damaged;
        seen.reason = QStringLiteral("его страницы не читаются");
        break;
    case SQLITE_IOERR:
        if (rc == SQLITE_IOERR_SHORT_READ) {
            seen.verdict = FileInspection::Verdict::CutShort;
            break;
        }
        [[fallthrough]];
    default:
        seen.verdict = FileInspection::Verdict::Unreadable;
        seen.reason = systemError != 0 ? systemReason(systemError)
                                       : QStringLiteral("SQLite не может прочитать файл (код %1)").arg(rc);
        break;
    }
}

FileInspection inspectRegisterFile(const QString &fileName)
{
    FileInspection seen;
    const QFileInfo info(fileName);
    if (!info.exists())
        return seen; // Missing
    if (!info.isFile()) {
        seen.verdict = FileInspection::Verdict::NotAFile;
        seen.folder = info.isDir();
        return seen;
    }
    if (info.size() == 0) {
        seen.verdict = FileInspection::Verdict::Empty;
        return seen;
    }
    seen.verdict = lookAtHeader(fileName, info.size(), seen.reason);
    if (seen.verdict != FileInspection::Verdict::Readable)
        return seen;

    // Another program closing the register removes its log and index at any moment, and one
    // writing it may be checkpointing: what looks unreadable or damaged is looked at again,
    // from the start, before it is believed. A file really damaged stays so every time.
    const FileInspection header = seen;
    for (int attempt = 0;; ++attempt) {
        seen = header;
        inspectPages(fileName, seen);
        const bool doubtful = seen.verdict == FileInspection::Verdict::Unreadable
            || seen.verdict == FileInspection::Verdict::Damaged || seen.verdict == FileInspection::Verdict::CutShort;
        if (!doubtful || attempt == 4)
            break;
        QThread::msleep(20 * (attempt + 1));
    }
    return seen;
}

} // namespace luvir
