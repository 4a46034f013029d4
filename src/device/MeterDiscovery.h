#pragma once
// Finding the meter among the HID devices and opening it, without any window: what the
// user is told goes through a LinkReporter.

#include "DeviceLink.h"
#include "LinkReporter.h"

namespace luvir {

// At most this many meters may be connected at once.
inline constexpr int kMaxListedMeters = 16;

// Opens the meter unless one is open already, switches it to non-blocking reads and shows
// the success text. True when a meter is open afterwards; a failure has been reported,
// and the next call looks for the meter again.
bool ConnectDevice(DeviceLink &link, LinkReporter &reporter);

} // namespace luvir
