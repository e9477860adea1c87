// The serial devices present on this system, for the setup dialog's list: read from what the
// system publishes (/dev, sysfs, the lock files), never by opening a device, which would
// pulse its DTR line and could leave another program's port exclusive.
#pragma once

#include <string>
#include <vector>

#include "reader/serial_device.h"

// Where the system publishes its devices; elsewhere only in tests.
struct TDeviceFolders {
  std::string Devices = "/dev";
  std::string Classes = "/sys/class/tty";
  std::string Locks = "/run/lock";
};

// /dev/ttyS* that have a port behind them, /dev/ttyUSB*, /dev/ttyACM*, in name order, each
// with its /dev/serial/by-id name where it has one, whether another program has locked it
// or this user may not open it, and whether joining its group would let this user open it.
// `skip` (a resolved path) is the reader's own device.
std::vector<TSerialDevice> ListSerialDevices(const std::string& skip,
                                             const TDeviceFolders& folders = {});

// The device's group may open it and this user is not in that group (dialout, usually):
// joining the group is what lets this user open it.
bool DeniedForWantOfGroup(const std::string& path);

// Where a stored name leads (a by-id link to /dev/ttyUSB0); empty when it leads nowhere.
std::string ResolvedDevicePath(const std::string& stored);
