#include "DeviceFrame.h"

#include "Crc.h"

#include <algorithm>
#include <cassert>

namespace luvir {

namespace {

constexpr std::size_t kCrcBytes = 2;

std::uint16_t frameCrc(const DeviceFrame &frame, std::size_t length)
{
    // Covers the command byte and the payload: bytes 2 .. L-1.
    return CrcBlock(kCrcInitial, frame.data() + DeviceFrame::Command, length - kCrcBytes);
}

} // namespace

std::uint8_t responseLength(DeviceCommand command)
{
    switch (command) {
    case DeviceCommand::ReadCell:
        return 46; // command, status byte, the 42 bytes of the cell, CRC
    case DeviceCommand::ProtocolVersion:
    case DeviceCommand::ArchiveSize:
        break;
    }
    return 5; // command, two payload bytes, CRC
}

void buildRequest(DeviceFrame &frame, DeviceCommand command, std::span<const std::uint8_t> payload)
{
    assert(payload.size() <= kMaxPayload);
    const std::size_t length = 1 + payload.size() + kCrcBytes;
    frame.bytes[DeviceFrame::ReportId] = kReportId;
    frame.bytes[DeviceFrame::Length] = static_cast<std::uint8_t>(length);
    frame.bytes[DeviceFrame::Command] = static_cast<std::uint8_t>(command);
    std::copy(payload.begin(), payload.end(), frame.bytes.begin() + DeviceFrame::Payload);
    const std::uint16_t crc = frameCrc(frame, length);
    frame.bytes[length] = static_cast<std::uint8_t>(crc >> 8);
    frame.bytes[length + 1] = static_cast<std::uint8_t>(crc & 0xFF);
}

ResponseCheck checkResponse(const DeviceFrame &frame, int bytesRead, DeviceCommand command)
{
    if (bytesRead != static_cast<int>(kFrameSize))
        return ResponseCheck::ByteCountMismatch;
    if (frame.bytes[DeviceFrame::ReportId] != kReportId)
        return ResponseCheck::WrongReportId;
    const std::size_t length = frame.bytes[DeviceFrame::Length];
    if (length != responseLength(command))
        return ResponseCheck::WrongLength;
    if (frame.bytes[DeviceFrame::Command] != static_cast<std::uint8_t>(command))
        return ResponseCheck::WrongCommand;
    const std::uint16_t carried
        = static_cast<std::uint16_t>((frame.bytes[length] << 8) | frame.bytes[length + 1]);
    if (frameCrc(frame, length) != carried)
        return ResponseCheck::CrcMismatch;
    return ResponseCheck::Ok;
}

} // namespace luvir
