#include "ArchiveFile.h"

#include "AtomicFile.h"
#include "Crc.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <span>

namespace luvir {

namespace {

std::uint16_t le16(const QByteArray &bytes, qsizetype at)
{
    return static_cast<std::uint16_t>(
        static_cast<std::uint8_t>(bytes[at]) | (static_cast<std::uint8_t>(bytes[at + 1]) << 8));
}

const std::uint8_t *data(const QByteArray &bytes)
{
    return reinterpret_cast<const std::uint8_t *>(bytes.constData());
}

QString fileErrorText(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Файл \"%1\": %2").arg(QDir::toNativeSeparators(fileName), reason);
}

} // namespace

ArchiveReader::Status ArchiveReader::fail(Status status, const QString &text)
{
    m_error = text;
    return status;
}

ArchiveReader::Status ArchiveReader::read(const QByteArray &bytes, ArchiveImage &out)
{
    m_error.clear();
    const qsizetype size = bytes.size();
    if (size > kMaxArchiveFileSize)
        return fail(Status::CrcMismatch, QStringLiteral("Ошибка файла CRC"));
    if (size < 2)
        return fail(Status::ReadError, QStringLiteral("Ошибка чтения: файл короче двух байт"));

    const std::uint16_t crc = CrcBlock(kCrcInitial, data(bytes), static_cast<std::size_t>(size - 2));
    if (crc != le16(bytes, size - 2))
        return fail(Status::CrcMismatch, QStringLiteral("Ошибка файла CRC"));
    if (size < 4)
        return fail(Status::SizeStage0, QStringLiteral("Ошибка размера файла стадия 0"));

    const std::uint16_t count = le16(bytes, 2);
    if (42LL * count + 6 != size)
        return fail(Status::SizeStage1, QStringLiteral("Ошибка размера файла стадия 1"));
    if (count > CellArchive::Capacity)
        return fail(Status::TooManyCells,
            QStringLiteral("Ошибка размера файла: в архиве %1 записей, "
                           "программа принимает не более %2")
                .arg(count)
                .arg(CellArchive::Capacity));

    out.version.major = static_cast<std::uint8_t>(bytes[0]);
    out.version.minor = static_cast<std::uint8_t>(bytes[1]);
    out.archive.Count = count;
    const auto cells = std::span(data(bytes), static_cast<std::size_t>(size)).subspan(4, kCellSize * count);
    for (std::size_t i = 0; i < count; ++i)
        std::ranges::copy(cells.subspan(kCellSize * i, kCellSize), out.archive.Cells[i].bytes.begin());
    return Status::Ok;
}

ArchiveReader::Status ArchiveReader::read(const QString &fileName, ArchiveImage &out)
{
    m_error.clear();
    const QFileInfo info(fileName);
    if (!info.exists())
        return fail(Status::ReadError, fileErrorText(fileName, QStringLiteral("файл не найден")));
    if (!info.isFile())
        return fail(Status::ReadError, fileErrorText(fileName, QStringLiteral("это не файл")));

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(Status::ReadError, fileErrorText(fileName, file.errorString()));
    const qint64 size = file.size();
    if (size > kMaxArchiveFileSize)
        return fail(Status::CrcMismatch, QStringLiteral("Ошибка файла CRC"));
    const QByteArray bytes = file.read(kMaxArchiveFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(Status::ReadError, fileErrorText(fileName, file.errorString()));
    // A file that another program is still writing is no archive yet.
    if (bytes.size() != size || file.size() != size)
        return fail(
            Status::ReadError, fileErrorText(fileName, QStringLiteral("файл изменился во время чтения")));
    const Status status = read(bytes, out);
    if (status == Status::ReadError)
        m_error = fileErrorText(fileName, m_error);
    return status;
}

QByteArray ArchiveWriter::toBytes(const CellArchive &archive, ProtocolVersion version)
{
    const std::uint16_t count = std::min(archive.Count, CellArchive::Capacity);
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(kCellSize * count + 6));
    bytes.append(static_cast<char>(version.major));
    bytes.append(static_cast<char>(version.minor));
    bytes.append(static_cast<char>(count & 0xFF));
    bytes.append(static_cast<char>(count >> 8));
    for (std::size_t i = 0; i < count; ++i)
        bytes.append(reinterpret_cast<const char *>(archive.Cells[i].bytes.data()), kCellSize);
    const std::uint16_t crc = CrcBlock(kCrcInitial, data(bytes), static_cast<std::size_t>(bytes.size()));
    bytes.append(static_cast<char>(crc & 0xFF));
    bytes.append(static_cast<char>(crc >> 8));
    return bytes;
}

bool ArchiveWriter::write(QIODevice &device, const CellArchive &archive, ProtocolVersion version)
{
    m_error.clear();
    const QByteArray bytes = toBytes(archive, version);
    if (!writeWhole(device, bytes)) {
        m_error = device.errorString().isEmpty() ? QStringLiteral("Ошибка записи") : device.errorString();
        return false;
    }
    return true;
}

bool ArchiveWriter::write(const QString &fileName, const CellArchive &archive, ProtocolVersion version)
{
    m_error.clear();
    QString reason;
    if (writeFileAtomically(fileName, toBytes(archive, version), &reason))
        return true;
    m_error = fileErrorText(fileName, reason.isEmpty() ? QStringLiteral("ошибка записи") : reason);
    return false;
}

} // namespace luvir
