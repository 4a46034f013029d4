#pragma once
// Series for the statistics tests: an archive of chosen cells (its measurements are what
// the statistics take), and the reviewed outputs.

#include "CellText.h"
#include "MeasurementTable.h"
#include "Measurement.h"
#include "TestData.h"

#include <QFile>
#include <QString>

#include <vector>

namespace luvir::test {

inline CellArchive archiveOf(const std::vector<CellFields> &cells)
{
    CellArchive archive;
    archive.Count = static_cast<std::uint16_t>(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i)
        archive.Cells[i] = makeCell(cells[i]);
    return archive;
}

// Cells of one kind, dependency and Kc with these strengths (tenths of MPa).
inline CellArchive archiveOfStrengths(const std::vector<std::uint16_t> &tenths)
{
    std::vector<CellFields> cells;
    for (std::uint16_t t : tenths)
        cells.push_back({.strength = t, .elementKind = 2, .kc = 100});
    return archiveOf(cells);
}

// The reviewed output of the statistics of a sample archive (see golden/).
inline QString goldenText(const QString &name)
{
    QFile file(QStringLiteral(LUVIR_STATS_GOLDEN_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace luvir::test
