#pragma once
// The program's one connection to the meter: the open handle, the device list of the
// latest discovery and the send and receive buffers, all alive for the whole run.
// DeviceLink.cpp is the only code that calls the HID library.

#include "DeviceFrame.h"

#include <cwchar>

struct hid_device_;
struct hid_device_info;

namespace luvir {

inline constexpr unsigned short kMeterVendorId = 0x2047;
inline constexpr unsigned short kMeterProductId = 0x0904;
// How long one read waits for the meter's answer.
inline constexpr int kAnswerTimeoutMs = 1000;
// Before a request, no more than this many waiting reports are thrown away, and never for
// longer than one read waits: a device that never stops sending must not hold us up.
inline constexpr int kMaxDiscardedReports = 8;

class DeviceLink
{
public:
    DeviceLink() = default;
    ~DeviceLink();
    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

    // Whether a meter is open.
    bool isOpen() const { return DeviceHandle != nullptr; }

    // Frees the list of the previous discovery and lists the meters anew. Returns how many
    // are listed, counting no further than `limit`.
    int discover(int limit);
    // The serial number of the first listed meter; null when it has none or none is listed.
    const wchar_t *firstListedSerial() const;
    // Opens the first listed meter by its serial number; false when that fails.
    bool openFirstListed();
    // Reads never block beyond their own time-out.
    void setNonblocking();

    // The buffers: zero at start; a request rewrites only its own bytes of the send buffer.
    DeviceFrame &sendBuffer() { return m_send; }
    const DeviceFrame &sendBuffer() const { return m_send; }
    const DeviceFrame &receiveBuffer() const { return m_receive; }

    // Drops the answers already waiting, so a late one cannot pass for the next: until a
    // read finds nothing, but no more than kMaxDiscardedReports of them and for no longer
    // than kAnswerTimeoutMs. Returns how many were dropped.
    int discardPendingInput();
    // Writes the whole send buffer. Negative when the write failed; the meter is then
    // closed and the next connection looks for it again.
    int send();
    // Reads one answer into the receive buffer, waiting at most `timeoutMs`. The number of
    // bytes read, 0 when nothing came; negative on failure, which closes the meter.
    int receive(int timeoutMs);

private:
    void closeDevice();

    hid_device_ *DeviceHandle = nullptr; // DeviceHandle: the open meter, null while there is none
    hid_device_info *m_deviceList = nullptr; // the latest discovery's list
    DeviceFrame m_send;
    DeviceFrame m_receive;
};

} // namespace luvir
