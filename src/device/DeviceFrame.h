#pragma once
// The 64-byte HID report exchanged with the meter: how a request is built into the send
// buffer and the checks an answer must pass before its payload is used.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace luvir {

inline constexpr std::size_t kFrameSize = 64;
inline constexpr std::uint8_t kReportId = 0x3F;
// The CRC must end inside the frame, so the length byte is at most 62.
inline constexpr std::size_t kMaxPayload = kFrameSize - 5;

// The meter's commands; an answer repeats the code of the request it answers.
enum class DeviceCommand : std::uint8_t {
    ProtocolVersion = 0x14,
    ArchiveSize = 0x30,
    ReadCell = 0x31,
};

// The length byte a correct answer to `command` carries (5, or 46 for a cell).
std::uint8_t responseLength(DeviceCommand command);

// DeviceFrame: one HID report, request or answer, report ID in byte 0.
struct DeviceFrame {
    // Byte offsets. The CRC follows the payload at offset L (high byte) and L+1 (low byte),
    // where L is the length byte; everything after it is filler without meaning.
    enum Offset : std::size_t { ReportId = 0, Length = 1, Command = 2, Payload = 3 };

    std::array<std::uint8_t, kFrameSize> bytes {};

    std::uint8_t *data() { return bytes.data(); }
    const std::uint8_t *data() const { return bytes.data(); }
    // A little-endian 16-bit number inside the payload.
    std::uint16_t le16(std::size_t offset) const
    {
        return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    }
};

// Writes report ID, length, command, payload and CRC into bytes 0 .. L+1 of `frame`; the
// bytes after them keep what earlier requests left there. The payload is at most 59 bytes.
void buildRequest(DeviceFrame &frame, DeviceCommand command, std::span<const std::uint8_t> payload = {});

// The verdict on an answer; the first failing check decides, in this order.
enum class ResponseCheck {
    Ok,
    ByteCountMismatch, // the read did not deliver exactly 64 bytes
    WrongReportId,
    WrongLength,
    WrongCommand,
    CrcMismatch,
};

// Checks the answer to `command` that a read of `bytesRead` bytes left in `frame`.
ResponseCheck checkResponse(const DeviceFrame &frame, int bytesRead, DeviceCommand command);

} // namespace luvir
