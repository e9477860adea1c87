// The platform's facts about the reader's line: whether its device is still there, and
// which port a device notice speaks of.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "reader/line_watch.h"

// Opens the device path afresh, as the port object does, and lets it go at once: one open
// and at most one close, nothing read or written on the line.
TPresence ProbeHeldPort(const std::wstring& devicePath);

enum class TDeviceEvent { Arrived, Removed };

struct TDeviceNotice {
  TDeviceEvent Event;
  std::wstring Name;  // as the system gives it, e.g. "COM2"
};

// A WM_DEVICECHANGE that tells of a port device arriving or removed, or none for every
// other kind of notice and device.
std::optional<TDeviceNotice> PortDeviceNotice(WPARAM event, LPARAM record);
