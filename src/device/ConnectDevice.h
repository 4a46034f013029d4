#pragma once
// Finding the meter among the HID devices and opening it.

#include "DeviceLink.h"
#include "UserDialogs.h"

class QWidget;

namespace luvir {

// At most this many meters may be connected at once.
inline constexpr int kMaxListedMeters = 16;

// Opens the meter unless one is open already, switches it to non-blocking reads and puts
// the success text in the status line. True when a meter is open afterwards; a failure
// has been told to the user, and the next call looks for the meter again.
bool ConnectDevice(DeviceLink &link, QWidget *parent, StatusLine *status);

} // namespace luvir
