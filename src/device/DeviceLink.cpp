#include "DeviceLink.h"

#include <hidapi.h>

#include <chrono>

namespace luvir {

DeviceLink::~DeviceLink()
{
    closeDevice();
    hid_free_enumeration(m_deviceList);
}

int DeviceLink::discover(int limit)
{
    hid_free_enumeration(m_deviceList);
    m_deviceList = hid_enumerate(kMeterVendorId, kMeterProductId);
    int count = 0;
    for (const hid_device_info *info = m_deviceList; info && count < limit; info = info->next)
        ++count;
    return count;
}

const wchar_t *DeviceLink::firstListedSerial() const
{
    return m_deviceList ? m_deviceList->serial_number : nullptr;
}

bool DeviceLink::openFirstListed()
{
    DeviceHandle = hid_open(kMeterVendorId, kMeterProductId, firstListedSerial());
    return DeviceHandle != nullptr;
}

void DeviceLink::setNonblocking()
{
    hid_set_nonblocking(DeviceHandle, 1);
}

int DeviceLink::discardPendingInput()
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kAnswerTimeoutMs);
    DeviceFrame scratch;
    int discarded = 0;
    // Each read returns at once (time-out 0); a failed one is left for the exchange to meet.
    while (DeviceHandle && discarded < kMaxDiscardedReports && Clock::now() < deadline
        && hid_read_timeout(DeviceHandle, scratch.data(), kFrameSize, 0) > 0)
        ++discarded;
    return discarded;
}

int DeviceLink::send()
{
    const int result = hid_write(DeviceHandle, m_send.data(), kFrameSize);
    if (result < 0)
        closeDevice();
    return result;
}

int DeviceLink::receive(int timeoutMs)
{
    const int result = hid_read_timeout(DeviceHandle, m_receive.data(), kFrameSize, timeoutMs);
    if (result < 0)
        closeDevice();
    return result;
}

void DeviceLink::closeDevice()
{
    if (DeviceHandle)
        hid_close(DeviceHandle);
    DeviceHandle = nullptr;
}

} // namespace luvir
