#pragma once
// Archive files (*.db): version major, version minor, cell count (LE16), the cells,
// and the CRC (LE16) of everything in front of it. Exactly 42 * N + 6 bytes.

#include "CellArchive.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace luvir {

// The largest file a header can describe; anything longer cannot be an archive.
inline constexpr qint64 kMaxArchiveFileSize = 42LL * 65535 + 6;

// The archive as a file holds it.
struct ArchiveImage {
    ProtocolVersion version;
    CellArchive archive;
};

class ArchiveReader
{
public:
    enum class Status {
        Ok,
        CrcMismatch, // "Ошибка файла CRC"
        SizeStage0, // "Ошибка размера файла стадия 0"
        SizeStage1, // "Ошибка размера файла стадия 1"
        TooManyCells, // passes every test but holds more than 999 cells
        ReadError, // the file could not be opened or read: a platform error
    };

    // Checks and reads a whole archive. `out` is written only when the result is Ok.
    Status read(const QByteArray &bytes, ArchiveImage &out);
    Status read(const QString &fileName, ArchiveImage &out);

    // The text the user is shown for the last refusal or error; empty after success.
    QString errorString() const { return m_error; }

    // Whether the last failure is a refusal of the file's contents (shown in a message box
    // and the status line) rather than a platform error (shown in the error box).
    static bool isRefusal(Status status) { return status != Status::Ok && status != Status::ReadError; }

private:
    Status fail(Status status, const QString &text);

    QString m_error;
};

class ArchiveWriter
{
public:
    // The bytes of the file for the first `archive.Count` cells.
    static QByteArray toBytes(const CellArchive &archive, ProtocolVersion version);

    bool write(QIODevice &device, const CellArchive &archive, ProtocolVersion version);
    // Replaces `fileName` only once the new file is completely written; on failure the
    // earlier file is untouched and no partial file remains.
    bool write(const QString &fileName, const CellArchive &archive, ProtocolVersion version);

    // Names the file and the reason when a write failed.
    QString errorString() const { return m_error; }

private:
    QString m_error;
};

} // namespace luvir
