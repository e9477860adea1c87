// The setup dialog's port list on Linux: one row per serial device present, the reader's
// own device first, with the same texts, check marks and enabled states as the COM rows
// (setup_form.h), whose check-list rules work on these rows unchanged.
#pragma once

#include <string>
#include <vector>

#include "reader/serial_device.h"
#include "ui/setup/setup_form.h"

struct TDeviceRows {
  std::vector<TPortItem> Items;
  std::vector<std::string> Names;  // the name stored for each row
};

// `current` is the stored name of the reader's device (none when empty), `shown` how the
// main window names it; `present` the other devices as found, never the current one.
TDeviceRows BuildDeviceRows(const std::string& current, const std::string& shown, bool currentOpen,
                            const std::vector<TSerialDevice>& present);

// The stored name of the first checked row, empty when none is checked.
std::string CheckedDevice(const TDeviceRows& rows);
