// Feeds arbitrary answers to the answer checks and the cell store. The input is a control
// byte, a cell index (two bytes, low first) and then 64-byte answers; the last may be short.
// Bit 0 of the control byte seals each answer with a correct CRC so the payload paths run.
#include "Crc.h"
#include "DeviceFrame.h"
#include "ResponsePayload.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace luvir;

namespace {

void sealCrc(DeviceFrame &frame)
{
    const std::size_t length = frame.bytes[DeviceFrame::Length];
    if (length < 3 || length > kFrameSize - 2)
        return;
    const std::uint16_t crc = CrcBlock(kCrcInitial, frame.data() + DeviceFrame::Command, length - 2);
    frame.bytes[length] = static_cast<std::uint8_t>(crc >> 8);
    frame.bytes[length + 1] = static_cast<std::uint8_t>(crc & 0xFF);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    const bool seal = data[0] & 1;
    const auto index = static_cast<std::uint16_t>(data[1] | (data[2] << 8));
    data += 3;
    size -= 3;

    static CellArchive archive;
    while (size > 0) {
        const std::size_t taken = std::min(size, kFrameSize);
        DeviceFrame frame;
        std::memcpy(frame.data(), data, taken);
        if (seal)
            sealCrc(frame);
        data += taken;
        size -= taken;

        for (DeviceCommand command :
            {DeviceCommand::ProtocolVersion, DeviceCommand::ArchiveSize, DeviceCommand::ReadCell}) {
            if (checkResponse(frame, static_cast<int>(taken), command) != ResponseCheck::Ok)
                continue;
            if (command == DeviceCommand::ProtocolVersion) {
                (void)protocolVersionOf(frame);
            } else if (command == DeviceCommand::ArchiveSize) {
                (void)archiveSizeOf(frame);
            } else {
                const CellArchive before = archive;
                const CellStore result = storeCell(frame, index, archive);
                // Only the asked-for cell may change, and only to the answer's bytes.
                for (std::size_t i = 0; i < CellArchive::Capacity; ++i) {
                    if (i == index && result == CellStore::Stored) {
                        if (std::memcmp(archive.Cells[i].bytes.data(), frame.data() + CellBytes, kCellSize)
                            != 0)
                            std::abort();
                    } else if (!(archive.Cells[i] == before.Cells[i])) {
                        std::abort();
                    }
                }
                if (result == CellStore::Stored && index >= CellArchive::Capacity)
                    std::abort();
            }
        }
    }
    return 0;
}
