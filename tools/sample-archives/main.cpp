// Writes the sample archive files of tests/data and the malformed ones of tests/errors.
// Run once after a change of the sample cells; the files are kept in the repository.
//   sample-archives <tests folder>
#include "ArchiveFile.h"
#include "Crc.h"
#include "TestData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>

using namespace luvir;

namespace {

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: sample-archives <tests folder>\n");
        return 2;
    }
    const QDir tests(QString::fromLocal8Bit(argv[1]));
    auto data = [&](const char *name) { return tests.filePath(QStringLiteral("data/") + name); };
    auto errors = [&](const char *name) { return tests.filePath(QStringLiteral("errors/") + name); };
    auto archive = [](int cells, ProtocolVersion v = {1, 0}) {
        return ArchiveWriter::toBytes(test::sampleArchive(cells), v);
    };

    const QByteArray two = archive(2);
    QByteArray changed = two;
    changed[20] = static_cast<char>(changed[20] ^ 0x01);
    QByteArray countLowered = two.left(two.size() - 2);
    countLowered[2] = 1;
    QByteArray thousand(4 + 42 * 1000, '\0');
    thousand[0] = 1;
    thousand[2] = static_cast<char>(1000 & 0xFF);
    thousand[3] = static_cast<char>(1000 >> 8);

    // Every field at the ends of its range, and codes the meter's tables do not hold.
    CellArchive edges;
    edges.Count = 4;
    edges.Cells[0] = ArchiveCell {}; // 42 zero bytes
    edges.Cells[1] = test::makeCell({.impacts = {0x8000, 0x8001, 0xFFFF, 0, 0x00FD, 0x80FA},
        .strength = 0xFFFF,
        .direction = 4,
        .elementKind = 11,
        .dependency = 9,
        .kc = 255,
        .second = 9,
        .minute = 5,
        .hour = 14,
        .day = 3,
        .month = 12,
        .year = 13});
    edges.Cells[2] = test::makeCell({.impacts = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
        .strength = 5,
        .direction = 5,
        .elementKind = 12,
        .dependency = 10,
        .kc = 5,
        .second = 255,
        .minute = 100,
        .hour = 99,
        .day = 200,
        .month = 100,
        .year = 255});
    edges.Cells[3] = test::makeCell({.impacts = {250},
        .strength = 250,
        .direction = 255,
        .elementKind = 255,
        .dependency = 255,
        .kc = 100,
        .second = 59,
        .minute = 59,
        .hour = 23,
        .day = 31,
        .month = 1,
        .year = 99});

    // Thirty cells of random bytes: codes outside the name tables, any strength and Kc.
    CellArchive random;
    QRandomGenerator generator(20261210);
    random.Count = 30;
    for (int i = 0; i < random.Count; ++i)
        for (std::uint8_t &byte : random.Cells[static_cast<std::size_t>(i)].bytes)
            byte = static_cast<std::uint8_t>(generator.bounded(256));

    bool ok = true;
    ok &= put(data("empty-v1.0.db"), archive(0));
    ok &= put(data("one-cell.db"), archive(1));
    ok &= put(data("seven-cells.db"), archive(7));
    ok &= put(data("sample-300.db"), archive(300));
    ok &= put(data("full-999.db"), archive(999));
    ok &= put(data("version-2.5.db"), archive(3, {2, 5}));
    ok &= put(data("edge-fields.db"), ArchiveWriter::toBytes(edges, {1, 0}));
    ok &= put(data("random-30.db"), ArchiveWriter::toBytes(random, {1, 0}));

    ok &= put(errors("empty-file.db"), QByteArray());
    ok &= put(errors("one-byte.db"), QByteArray(1, '\x01'));
    ok &= put(errors("crc-one-byte-changed.db"), changed);
    ok &= put(errors("crc-truncated.db"), two.left(two.size() - 1));
    ok &= put(errors("crc-lengthened.db"), two + QByteArray(1, '\0'));
    ok &= put(errors("stage0-ffff.db"), QByteArray("\xFF\xFF", 2));
    ok &= put(errors("stage0-byte-and-crc.db"), test::withCrc(QByteArray(1, '\x01')));
    ok &= put(errors("stage1-count-lowered.db"), test::withCrc(countLowered));
    ok &= put(errors("too-many-cells-1000.db"), test::withCrc(thousand));
    return ok ? 0 : 1;
}
