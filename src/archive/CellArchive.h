#pragma once
// The archive currently open: room for 999 cells and the number of valid ones.

#include "ArchiveCell.h"

#include <array>
#include <cstdint>

namespace luvir {

// CellArchive: the one store of the open archive; only Cells[0 .. Count-1] are meaningful.
struct CellArchive {
    static constexpr std::uint16_t Capacity = 999;

    std::array<ArchiveCell, Capacity> Cells{};
    std::uint16_t Count = 0;

    // Equal when the valid cells and the count are equal; what lies beyond Count is ignored.
    bool sameContents(const CellArchive &other) const;
};

// ProtocolVersion: the meter's protocol version, carried in archive file headers too.
struct ProtocolVersion {
    std::uint8_t major = 0;
    std::uint8_t minor = 0;
    friend bool operator==(const ProtocolVersion &, const ProtocolVersion &) = default;
};

// Everything of the open archive that outlives a command: the cells, the version of
// the meter (or file) they came from, and whether a download ever completed in this run.
struct ArchiveSession {
    CellArchive archive;
    ProtocolVersion version;
    bool DownloadCompleted = false; // set by a completed download, never cleared
};

} // namespace luvir
