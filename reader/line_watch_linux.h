// The system's facts about the reader's line on Linux: whether its device is still there,
// and the system's error numbers in the terms the line watch decides by.
#pragma once

#include <cstdint>
#include <string>

#include "reader/line_watch.h"

// errno as a LineError: a name that leads nowhere is FileNotFound, a device that went is
// DevNotExist or GenFailure (an I/O error on a line whose far end is gone), a descriptor
// that is no more is InvalidHandle, a device held by someone is SharingViolation; anything
// else keeps a value of its own that means nothing to the watch.
std::uint32_t LineErrorOfErrno(int error);

// Opens the device's name afresh and lets it go at once: nothing read or written on the
// line. A device this program holds refuses the open as busy, which still says it is there.
TPresence ProbeHeldPort(const std::string& device);
