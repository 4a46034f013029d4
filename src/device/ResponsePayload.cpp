#include "ResponsePayload.h"

#include <algorithm>

namespace luvir {

ProtocolVersion protocolVersionOf(const DeviceFrame &answer)
{
    return {answer.bytes[DeviceFrame::Payload], answer.bytes[DeviceFrame::Payload + 1]};
}

std::uint16_t archiveSizeOf(const DeviceFrame &answer)
{
    return answer.le16(DeviceFrame::Payload);
}

CellStore storeCell(const DeviceFrame &answer, std::uint16_t index, CellArchive &archive)
{
    if (answer.bytes[CellStatus] == kDamagedCellStatus)
        return CellStore::Damaged;
    if (index >= CellArchive::Capacity)
        return CellStore::OutOfRange;
    const auto first = answer.bytes.begin() + CellBytes;
    std::copy(first, first + kCellSize, archive.Cells[index].bytes.begin());
    return CellStore::Stored;
}

} // namespace luvir
