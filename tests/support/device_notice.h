// What Windows tells the top-level windows when a serial port's device arrives or is removed,
// as a USB adapter plugged in or pulled out. Wine says nothing of the rig's pseudo-terminal
// ports, so a test that plays the adapter through the rig plays the system's notice too.
#pragma once

#include <windows.h>

#include <string>

enum class TPortEvent { Arrived, Removed };

// Sends the notice with a port record naming `port` ("COM2") to the window, as the system
// sends it; false when the window did not take it in time.
bool AnnouncePort(HWND window, TPortEvent event, const std::wstring& port);
