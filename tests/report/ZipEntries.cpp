#include "ZipEntries.h"

#include <zlib.h>

namespace luvir::test {

namespace {

// A little-endian number of `bytes` bytes at `at`; bytes beyond the data count as zero.
quint32 number(const QByteArray &data, qsizetype at, int bytes)
{
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | (at + i >= 0 && at + i < data.size() ? quint8(data.at(at + i)) : 0u);
    return value;
}

quint16 u16(const QByteArray &data, qsizetype at)
{
    return static_cast<quint16>(number(data, at, 2));
}

quint32 u32(const QByteArray &data, qsizetype at)
{
    return number(data, at, 4);
}

QByteArray inflateRaw(const QByteArray &compressed, qsizetype size)
{
    QByteArray out(size, Qt::Uninitialized);
    z_stream stream {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.constData()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    return result == Z_STREAM_END ? out : QByteArray();
}

} // namespace

QMap<QString, QByteArray> readZipEntries(const QByteArray &zip)
{
    QMap<QString, QByteArray> entries;
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0)
        return entries;
    const int count = u16(zip, end + 10);
    qsizetype at = u32(zip, end + 16);
    for (int i = 0; i < count; ++i) {
        if (u32(zip, at) != 0x02014b50)
            return {};
        const quint16 method = u16(zip, at + 10);
        const quint32 packed = u32(zip, at + 20), size = u32(zip, at + 24);
        const quint16 nameLength = u16(zip, at + 28), extra = u16(zip, at + 30), comment = u16(zip, at + 32);
        const quint32 local = u32(zip, at + 42);
        const QString name = QString::fromUtf8(zip.mid(at + 46, nameLength));
        const qsizetype data = local + 30 + u16(zip, local + 26) + u16(zip, local + 28);
        const QByteArray raw = zip.mid(data, packed);
        entries.insert(name, method == 0 ? raw : inflateRaw(raw, size));
        at += 46 + nameLength + extra + comment;
    }
    return entries;
}

} // namespace luvir::test
