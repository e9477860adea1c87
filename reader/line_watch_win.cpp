#include "reader/line_watch_win.h"

#include <dbt.h>

#include <cstddef>
#include <cwchar>

#include "reader/port_opener_win.h"

static_assert(LineError::FileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(LineError::PathNotFound == ERROR_PATH_NOT_FOUND);
static_assert(LineError::AccessDenied == ERROR_ACCESS_DENIED);
static_assert(LineError::InvalidHandle == ERROR_INVALID_HANDLE);
static_assert(LineError::NotReady == ERROR_NOT_READY);
static_assert(LineError::BadCommand == ERROR_BAD_COMMAND);
static_assert(LineError::GenFailure == ERROR_GEN_FAILURE);
static_assert(LineError::SharingViolation == ERROR_SHARING_VIOLATION);
static_assert(LineError::DevNotExist == ERROR_DEV_NOT_EXIST);
static_assert(LineError::OperationAborted == ERROR_OPERATION_ABORTED);
static_assert(LineError::DeviceNotConnected == ERROR_DEVICE_NOT_CONNECTED);

TPresence ProbeHeldPort(const std::wstring& devicePath) {
  const TOpenedDevice opened = OpenPortDevice(devicePath);
  return PresenceAfterOpen(opened.Device.Valid(), opened.Error);
}

std::optional<TDeviceNotice> PortDeviceNotice(WPARAM event, LPARAM record) {
  if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return std::nullopt;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(record);
  if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_PORT) return std::nullopt;
  const auto* port = reinterpret_cast<const DEV_BROADCAST_PORT_W*>(record);
  // The name runs to its terminator or to the record's end, whichever comes first.
  const std::size_t nameOffset = offsetof(DEV_BROADCAST_PORT_W, dbcp_name);
  if (header->dbch_size <= nameOffset) return std::nullopt;
  const std::size_t room = (header->dbch_size - nameOffset) / sizeof(wchar_t);
  const std::wstring name(port->dbcp_name, wcsnlen(port->dbcp_name, room));
  return TDeviceNotice{event == DBT_DEVICEARRIVAL ? TDeviceEvent::Arrived : TDeviceEvent::Removed,
                       name};
}
