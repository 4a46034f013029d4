#include "TestData.h"

#include "Crc.h"

#include <QFile>

namespace luvir::test {

ArchiveCell makeCell(const CellFields &f)
{
    ArchiveCell cell;
    int j = 0;
    for (std::uint16_t w : f.impacts)
        cell.setWord(ArchiveCell::ImpactValues + 2 * static_cast<std::size_t>(j++), w);
    cell.setWord(ArchiveCell::Strength, f.strength);
    cell.bytes[ArchiveCell::Direction] = f.direction;
    cell.bytes[ArchiveCell::ElementKind] = f.elementKind;
    cell.bytes[ArchiveCell::Dependency] = f.dependency;
    cell.bytes[ArchiveCell::Kc] = f.kc;
    cell.bytes[ArchiveCell::Second] = f.second;
    cell.bytes[ArchiveCell::Minute] = f.minute;
    cell.bytes[ArchiveCell::Hour] = f.hour;
    cell.bytes[ArchiveCell::Day] = f.day;
    cell.bytes[ArchiveCell::Month] = f.month;
    cell.bytes[ArchiveCell::Year] = f.year;
    return cell;
}

ArchiveCell sampleCell(int seed)
{
    ArchiveCell cell;
    const int base = 200 + (seed * 37) % 200; // 20.0 .. 39.9 MPa
    for (int j = 0; j < kImpactCount; ++j) {
        std::uint16_t w = static_cast<std::uint16_t>(base + ((seed + j) * 13) % 40 - 20);
        if ((seed + j) % 7 == 0)
            w |= MarkedValueBit;
        cell.setWord(ArchiveCell::ImpactValues + 2 * static_cast<std::size_t>(j), w);
    }
    cell.setWord(ArchiveCell::Strength, static_cast<std::uint16_t>(base));
    cell.bytes[ArchiveCell::Direction] = static_cast<std::uint8_t>(seed % 5);
    cell.bytes[ArchiveCell::ElementKind] = static_cast<std::uint8_t>(seed % 12);
    cell.bytes[ArchiveCell::Dependency] = static_cast<std::uint8_t>(seed % 10);
    cell.bytes[ArchiveCell::Kc] = static_cast<std::uint8_t>(80 + seed % 40);
    cell.bytes[ArchiveCell::Second] = static_cast<std::uint8_t>(seed % 60);
    cell.bytes[ArchiveCell::Minute] = static_cast<std::uint8_t>((seed * 7) % 60);
    cell.bytes[ArchiveCell::Hour] = static_cast<std::uint8_t>(8 + seed % 10);
    cell.bytes[ArchiveCell::Day] = static_cast<std::uint8_t>(1 + seed % 28);
    cell.bytes[ArchiveCell::Month] = static_cast<std::uint8_t>(1 + seed % 12);
    cell.bytes[ArchiveCell::Year] = 26;
    return cell;
}

CellArchive sampleArchive(int count)
{
    CellArchive archive;
    archive.Count = static_cast<std::uint16_t>(count);
    for (int i = 0; i < count; ++i)
        archive.Cells[static_cast<std::size_t>(i)] = sampleCell(i);
    return archive;
}

QByteArray withCrc(QByteArray body)
{
    const std::uint16_t crc = CrcBlock(kCrcInitial, reinterpret_cast<const std::uint8_t *>(body.constData()),
        static_cast<std::size_t>(body.size()));
    body.append(static_cast<char>(crc & 0xFF));
    body.append(static_cast<char>(crc >> 8));
    return body;
}

QString testDataPath(const QString &name)
{
    return QStringLiteral(LUVIR_TEST_SOURCE_DIR "/data/") + name;
}

QString testErrorsPath(const QString &name)
{
    return QStringLiteral(LUVIR_TEST_SOURCE_DIR "/errors/") + name;
}

QByteArray testErrorsBytes(const QString &name)
{
    QFile file(testErrorsPath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace luvir::test
