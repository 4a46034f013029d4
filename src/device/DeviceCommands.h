#pragma once
// The meter's three commands, each one request and one answer over the open link.
// Every command tells the user of its own failures through the reporter and returns false.

#include "CellArchive.h"
#include "CommandReporter.h"
#include "DeviceFrame.h"
#include "DeviceLink.h"

#include <cstdint>
#include <span>

namespace luvir {

class DeviceCommands
{
public:
    DeviceCommands(DeviceLink &link, CommandReporter &reporter)
        : m_link(link)
        , m_reporter(reporter)
    {
    }

    // True only for protocol 1.0. Whatever version the meter names is put in `version`
    // and shown, even when it is refused.
    bool ReadProtocolVersion(ProtocolVersion &version);
    // The size the meter reports goes to `reportedSize` and is shown; archive.Count gets
    // it at once, though never more than the archive's 999 places.
    bool ReadArchiveSize(CellArchive &archive, std::uint16_t &reportedSize);
    // Stores the cell at `index` when it arrives intact. An index the archive has no place
    // for is refused without asking the meter.
    bool ReadCell(std::uint16_t index, CellArchive &archive);

private:
    bool exchange(DeviceCommand command, std::span<const std::uint8_t> payload = {});

    DeviceLink &m_link;
    CommandReporter &m_reporter;
};

} // namespace luvir
