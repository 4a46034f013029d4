#pragma once
// Looking at a register file before anything may write it: what its first bytes and its
// length say, then what SQLite reads from it through a connection of its own that is
// read-only, never checkpoints and makes no side file, so that a refused file and its -wal
// and -shm stay byte for byte as they were. Its cost does not grow with the register: the
// header, the schema and the first and last row of every table; damage elsewhere is
// reported by SQLite when a later call meets it.

#include <QString>

class QSqlDatabase;

namespace luvir {

struct FileInspection {
    enum class Verdict {
        Missing, // no such file
        Empty, // 0 bytes: nothing in it yet
        NotAFile, // a folder, a FIFO, a device
        Foreign, // not a database file
        CutShort, // shorter than its header says, or not of whole pages
        Damaged, // SQLite found a damaged page
        Unreadable, // cannot be read at all (rights, the system); `reason` says why
        Readable, // a database: `mark`, `version` and `tables` are what it holds
    };
    Verdict verdict = Verdict::Missing;
    bool folder = false; // NotAFile: it is a folder
    int mark = 0;
    int version = 0;
    int tables = 0;
    QString reason; // Damaged, Unreadable: why, in the user's words
};

FileInspection inspectRegisterFile(const QString &fileName);

// How a connection that must not write opens `fileName` (for QSQLITE_OPEN_URI): read-only,
// the write-ahead log read through a -shm that is not written, or the main file alone
// (immutable) when there is no log beside it.
QString readOnlyUri(const QString &fileName);

// 0 when new files can be made in the folder of `fileName`; else the system's error number.
int folderWriteError(const QString &fileName);

// The system's reason for `errorNumber`, in the user's language ("Read-only file system").
QString systemReason(int errorNumber);

// The error number SQLite met last on the connection (0 when none or not SQLite).
int sqliteSystemError(const QSqlDatabase &database);

} // namespace luvir
