// The serial devices of a Linux system as the program names them: which kernel names are
// listed, which name is stored, what the operator is shown. Decided without the system.
#pragma once

#include <string>
#include <string_view>

// ttyS<n>, ttyUSB<n> and ttyACM<n>: the ports a reader is wired to.
bool IsListedSerialName(std::string_view name);

// A device found on the system.
struct TSerialDevice {
  std::string Path;        // /dev/ttyUSB0
  std::string StableName;  // /dev/serial/by-id/usb-..., empty when it has none
  bool Busy = false;       // cannot be opened now: held by another program, or Denied
  bool Denied = false;     // this user may not open it
  bool operator==(const TSerialDevice&) const = default;
};

// What the settings keep: the stable name where there is one, since /dev/ttyUSB0 may be
// another adapter after the next plug-in.
std::string StoredNameOf(const TSerialDevice& device);

// The name the main window and the list show: the device's path below /dev ("ttyUSB0",
// "pts/3") when the stored name leads to one, otherwise the stored name's last part.
std::string ShownPortName(std::string_view stored, std::string_view resolvedPath);

// A list row's name: the shown name, then the stable name's last part in brackets.
std::string DeviceRowName(const TSerialDevice& device);

// Whether a confirmed setup reopens the port: another device, or the same one while it is
// not open, so that confirming it again is a way to bring it back.
bool ReopenDeviceAfterSetup(std::string_view before, std::string_view after, bool portOpen);
