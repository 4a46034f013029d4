#pragma once
// Cells and archives for tests, built field by field.

#include "CellArchive.h"
#include "QtPrinters.h"

#include <QByteArray>
#include <QString>

#include <initializer_list>

namespace luvir::test {

struct CellFields {
    std::initializer_list<std::uint16_t> impacts = {}; // from position 0 on
    std::uint16_t strength = 0;
    std::uint8_t direction = 0, elementKind = 0, dependency = 0, kc = 0;
    std::uint8_t second = 0, minute = 0, hour = 0, day = 0, month = 0, year = 0;
};

ArchiveCell makeCell(const CellFields &fields);
// A realistic measurement, different for every `seed`.
ArchiveCell sampleCell(int seed);
// An archive of `count` sample cells.
CellArchive sampleArchive(int count);

// `body` followed by its CRC, low byte first, as archive files end.
QByteArray withCrc(QByteArray body);

// The folders of sample and malformed files.
QString testDataPath(const QString &name);
QString testErrorsPath(const QString &name);
// The bytes of a file of tests/errors; empty when it cannot be read.
QByteArray testErrorsBytes(const QString &name);

} // namespace luvir::test
