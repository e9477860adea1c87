// What the main window's two value labels say, and in which colour.
#pragma once

#include <cstdint>
#include <string>

#include "core/common.h"

// A colour as the platform spells it: 0x00BBGGRR.
using Colour = std::uint32_t;

inline constexpr Colour kPortOpenColour = 0x008000;    // dark green
inline constexpr Colour kPortFailedColour = 0x0000FF;  // pure red

struct MainStatus {
  std::wstring ReaderType;  // "26 bit" or "40/42 bit"
  std::wstring Port;        // "COM2 - Порт открыт"
  Colour PortColour;
};

// 1 when the port is not open; also the index of the state picture in the tray.
int PortFailedOf(int portState);

MainStatus DescribeStatus(const TSettings& settings, int portState);
