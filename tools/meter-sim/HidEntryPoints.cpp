// The HID library's functions, answered by the simulated meter.
#include "SimState.h"

// The library is built with hidden symbols; these are the ones it exists to export.
#pragma GCC visibility push(default)
#include <hidapi.h>
#pragma GCC visibility pop

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

using namespace luvir::sim;

namespace {

constexpr unsigned short kVendorId = 0x2047;
constexpr unsigned short kProductId = 0x0904;
constexpr int kShortReadBytes = 40;
const wchar_t kManufacturer[] = L"Simulated meter";
const wchar_t kProduct[] = L"LUVIR-2.07 (simulated)";

Meter::State &st()
{
    return meter().state();
}

bool idsMatch(unsigned short vendorId, unsigned short productId)
{
    return (vendorId == 0 || vendorId == kVendorId) && (productId == 0 || productId == kProductId);
}

wchar_t *copyOf(const wchar_t *text)
{
    if (!text)
        return nullptr;
    auto *copy = static_cast<wchar_t *>(std::malloc((std::wcslen(text) + 1) * sizeof(wchar_t)));
    std::wcscpy(copy, text);
    return copy;
}

hid_device_info *infoFor(std::size_t index)
{
    const Serial &serial = st().devices[index];
    auto *info = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
    info->path = strdup(("sim-meter:" + std::to_string(index)).c_str());
    info->vendor_id = kVendorId;
    info->product_id = kProductId;
    info->serial_number = serial ? copyOf(serial->c_str()) : nullptr;
    info->release_number = 0x0100;
    info->manufacturer_string = copyOf(kManufacturer);
    info->product_string = copyOf(kProduct);
    info->usage_page = 0xFF00;
    info->usage = 0x01;
    info->interface_number = 0;
    info->bus_type = HID_API_BUS_USB;
    return info;
}

void freeInfo(hid_device_info *info)
{
    std::free(info->path);
    std::free(info->serial_number);
    std::free(info->manufacturer_string);
    std::free(info->product_string);
    std::free(info);
}

hid_device *openDevice(std::size_t index)
{
    auto *device = new hid_device_;
    device->generation = st().generation;
    device->serial = st().devices[index];
    device->info = infoFor(index);
    st().handles.insert(device);
    st().lastOpened = device->serial;
    st().lastNonblocking = false;
    return device;
}

// A handle the meter still serves: opened since the last plug-in, and the meter is in.
bool alive(hid_device *device)
{
    return device && st().handles.count(device) && st().plugged && device->generation == st().generation;
}

// A read that finds no answer: a chattering device hands over one of its unrelated
// reports at once; otherwise the read waits out its time-out and comes back empty.
int noAnswer(Meter::State &s, Micros start, unsigned char *data, std::size_t length, int milliseconds)
{
    if (s.chattering) {
        Frame chatter {};
        chatter[0] = 0x01;
        for (std::size_t i = 1; i < chatter.size(); ++i)
            chatter[i] = static_cast<std::uint8_t>(s.chatterSent + i);
        ++s.chatterSent;
        const std::size_t count = std::min(chatter.size(), length);
        std::memcpy(data, chatter.data(), count);
        return static_cast<int>(count);
    }
    if (milliseconds > 0)
        s.waitUntil(start + std::chrono::milliseconds(milliseconds));
    return 0;
}

int readAnswer(hid_device *device, unsigned char *data, std::size_t length, int milliseconds)
{
    Meter::State &s = st();
    s.replugIfDue();
    if (!alive(device))
        return -1;
    if (s.readDuration > Micros(0))
        s.waitUntil(s.now() + s.readDuration);
    const Micros start = s.now();
    if (s.pending.empty())
        return noAnswer(s, start, data, length, milliseconds);
    PendingAnswer &answer = s.pending.front();
    if (answer.late) {
        // Missed by this read; waiting for whichever read comes next.
        const int result = noAnswer(s, start, data, length, milliseconds);
        answer.late = false;
        answer.readyAt = s.now();
        return result;
    }
    if (milliseconds >= 0 && answer.readyAt > start + std::chrono::milliseconds(milliseconds))
        return noAnswer(s, start, data, length, milliseconds);
    if (s.chattering && answer.readyAt > start)
        return noAnswer(s, start, data, length, milliseconds); // the chatter comes first
    s.waitUntil(answer.readyAt);
    const PendingAnswer taken = answer;
    s.pending.pop_front();
    if (taken.readError)
        return -1;
    const std::size_t count
        = std::min<std::size_t>(taken.shortRead ? kShortReadBytes : taken.bytes.size(), length);
    std::memcpy(data, taken.bytes.data(), count);
    return static_cast<int>(count);
}

int copyString(hid_device *dev, const wchar_t *text, wchar_t *string, size_t maxlen)
{
    if (!dev || !st().handles.count(dev) || !string || maxlen == 0)
        return -1;
    std::wcsncpy(string, text ? text : L"", maxlen);
    string[maxlen - 1] = L'\0';
    return 0;
}

} // namespace

#pragma GCC visibility push(default)
extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void)
{
    return 0;
}
int HID_API_EXPORT HID_API_CALL hid_exit(void)
{
    return 0;
}

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_enumerate(
    unsigned short vendor_id, unsigned short product_id)
{
    Meter::State &s = st();
    s.replugIfDue();
    if (!s.plugged || !idsMatch(vendor_id, product_id))
        return nullptr;
    hid_device_info *head = nullptr;
    hid_device_info **tail = &head;
    for (std::size_t i = 0; i < s.devices.size(); ++i) {
        *tail = infoFor(i);
        tail = &(*tail)->next;
    }
    if (head)
        s.lists.insert(head);
    return head;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info *devs)
{
    if (!devs || !st().lists.erase(devs))
        return;
    while (devs) {
        hid_device_info *next = devs->next;
        freeInfo(devs);
        devs = next;
    }
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open(
    unsigned short vendor_id, unsigned short product_id, const wchar_t *serial_number)
{
    Meter::State &s = st();
    s.replugIfDue();
    if (!s.plugged || s.openFails || vendor_id != kVendorId || product_id != kProductId)
        return nullptr;
    for (std::size_t i = 0; i < s.devices.size(); ++i) {
        const Serial &serial = s.devices[i];
        if (!serial_number || (serial && *serial == serial_number))
            return openDevice(i);
    }
    return nullptr;
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open_path(const char *path)
{
    Meter::State &s = st();
    s.replugIfDue();
    const char prefix[] = "sim-meter:";
    if (!path || !s.plugged || s.openFails || std::strncmp(path, prefix, sizeof prefix - 1) != 0)
        return nullptr;
    const std::size_t index = std::strtoul(path + sizeof prefix - 1, nullptr, 10);
    return index < s.devices.size() ? openDevice(index) : nullptr;
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device *dev, const unsigned char *data, size_t length)
{
    Meter::State &s = st();
    s.replugIfDue();
    const int exchange = s.exchanges++;
    if (s.unplugAfter >= 0 && exchange >= s.unplugAfter)
        s.unplug();
    Frame request {};
    std::memcpy(request.data(), data, std::min(length, request.size()));
    const std::optional<Fault> fault = s.faultFor(exchange, request);
    if (fault == Fault::Unplug)
        s.unplug();
    if (!alive(dev) || fault == Fault::WriteError)
        return -1;
    s.received.push_back(request);
    if (meter().onRequest)
        meter().onRequest(request);
    s.takeRequest(request, fault);
    return static_cast<int>(length);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(
    hid_device *dev, unsigned char *data, size_t length, int milliseconds)
{
    const int result = readAnswer(dev, data, length, milliseconds);
    st().reads.push_back({length, milliseconds, result});
    return result;
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device *dev, unsigned char *data, size_t length)
{
    const bool nonblocking = dev && st().handles.count(dev) && dev->nonblocking;
    // A blocking read of a meter that never answers returns 0 instead of hanging.
    const int result = readAnswer(dev, data, length, nonblocking ? 0 : -1);
    st().reads.push_back({length, nonblocking ? 0 : -1, result});
    return result;
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device *dev, int nonblock)
{
    if (!dev || !st().handles.count(dev))
        return -1;
    dev->nonblocking = nonblock != 0;
    st().lastNonblocking = dev->nonblocking;
    return 0;
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device *dev)
{
    Meter::State &s = st();
    if (!dev || (!s.handles.erase(dev) && !s.orphans.erase(dev)))
        return;
    freeInfo(dev->info);
    delete dev;
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device *, const unsigned char *, size_t)
{
    return -1;
}
int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device *, unsigned char *, size_t)
{
    return -1;
}
int HID_API_EXPORT HID_API_CALL hid_get_input_report(hid_device *, unsigned char *, size_t)
{
    return -1;
}

int HID_API_EXPORT_CALL hid_get_manufacturer_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return copyString(dev, kManufacturer, string, maxlen);
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return copyString(dev, kProduct, string, maxlen);
}

int HID_API_EXPORT_CALL hid_get_serial_number_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    const wchar_t *serial = dev && st().handles.count(dev) && dev->serial ? dev->serial->c_str() : nullptr;
    return copyString(dev, serial, string, maxlen);
}

int HID_API_EXPORT_CALL hid_get_indexed_string(hid_device *, int, wchar_t *, size_t)
{
    return -1;
}

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_get_device_info(hid_device *dev)
{
    return dev && st().handles.count(dev) ? dev->info : nullptr;
}

HID_API_EXPORT const wchar_t *HID_API_CALL hid_error(hid_device *)
{
    return L"simulated meter: no such device or operation";
}

HID_API_EXPORT const struct hid_api_version *HID_API_CALL hid_version(void)
{
    static const hid_api_version version {
        HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR, HID_API_VERSION_PATCH};
    return &version;
}

HID_API_EXPORT const char *HID_API_CALL hid_version_str(void)
{
    return HID_API_VERSION_STR;
}

} // extern "C"
#pragma GCC visibility pop
