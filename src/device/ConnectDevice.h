#pragma once
// Finding the meter and opening it from a window: failures in message boxes and the
// status line.

#include "DeviceLink.h"
#include "MeterDiscovery.h"
#include "UserDialogs.h"

class QWidget;

namespace luvir {

// ConnectDevice with the window's boxes (owned by `parent`) and its status line (may be null).
bool ConnectDevice(DeviceLink &link, QWidget *parent, StatusLine *status);

} // namespace luvir
