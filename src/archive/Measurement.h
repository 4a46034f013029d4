#pragma once
// One measurement as the program knows it: the cell the meter stored and where it stands in
// the open archive. The table's texts, the statistics and the charts are all built from a
// list of these; no number is ever read back from a text on the screen.

#include "CellArchive.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>

namespace luvir {

struct Measurement {
    ArchiveCell cell; // the 42 bytes, as the meter stored them
    int number = 0; // "№": its place in the archive as opened or downloaded, from 1; deletions leave gaps
    qint64 id = 0; // its key in a register of measurements; 0 while it is in none
    QString structure; // the structure it was taken on; empty when not known
    QString site; // the label of the site; empty when not known

    friend bool operator==(const Measurement &, const Measurement &) = default;
};

// Cells 0 .. Count - 1 of `archive` as measurements numbered 1 .. Count.
QList<Measurement> measurementsOf(const CellArchive &archive);

// The measurements whose number lies in from..to (both included), in their order. After a
// deletion the numbers have gaps; those left are still one stretch of the archive.
QList<Measurement> measurementsNumbered(const QList<Measurement> &measurements, int from, int to);

// The mean strength R of `measurements` in MPa, unrounded; none for an empty list.
std::optional<double> meanStrength(const QList<Measurement> &measurements);
// The same mean in whole tenths of MPa, halves up, decided exactly on the stored tenths
// (25.35 shows as 25.4 however the double falls); none for an empty list.
std::optional<std::int64_t> meanStrengthTenths(const QList<Measurement> &measurements);

} // namespace luvir
