// The Linux side of TUart: the tty, and what the setup window asks of the one port object.
#pragma once

#include "core/unique_fd_posix.h"
#include "reader/uart.h"

// Opened exclusively: TIOCEXCL keeps other programs out, and an flock() that every copy of
// this program takes keeps a second copy out even when run as root, which TIOCEXCL lets
// through.
struct TUart::TDevice {
  TUniqueFd Fd;
  // The last open failed for want of the device's group (dialout), which the user can join.
  bool DeniedForWantOfGroup = false;
};

bool PortIsOpen();
// The port is not open because this user is not in the device's group.
bool PortDeniedToUser();
