// The serial devices present on this system, for the setup dialog's list.
#pragma once

#include <string>
#include <vector>

#include "reader/serial_device.h"

// /dev/ttyS* that have a port behind them, /dev/ttyUSB*, /dev/ttyACM*, in name order, each
// with its /dev/serial/by-id name where it has one and whether another program holds it.
// `skip` (a resolved path) is not opened: it is the reader's own device.
std::vector<TSerialDevice> ListSerialDevices(const std::string& skip);

// Where a stored name leads (a by-id link to /dev/ttyUSB0); empty when it leads nowhere.
std::string ResolvedDevicePath(const std::string& stored);
