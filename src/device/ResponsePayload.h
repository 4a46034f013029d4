#pragma once
// What the payload of a checked answer means: the protocol version, the archive size and
// a cell with its status byte.

#include "CellArchive.h"
#include "DeviceFrame.h"

#include <cstdint>

namespace luvir {

// The status byte of a cell the meter found damaged.
inline constexpr std::uint8_t kDamagedCellStatus = 0xDE;

// Offsets inside the answers' payloads.
enum CellAnswerOffset : std::size_t {
    CellStatus = DeviceFrame::Payload,
    CellBytes = DeviceFrame::Payload + 1
};

ProtocolVersion protocolVersionOf(const DeviceFrame &answer);
std::uint16_t archiveSizeOf(const DeviceFrame &answer);

enum class CellStore {
    Stored,
    Damaged, // status 0xDE: nothing stored
    OutOfRange, // the archive has no room at this index: nothing stored
};

// Copies the 42 cell bytes of a read-cell answer into archive.Cells[index], unchanged.
CellStore storeCell(const DeviceFrame &answer, std::uint16_t index, CellArchive &archive);

} // namespace luvir
