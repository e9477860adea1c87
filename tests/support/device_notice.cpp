#include "tests/support/device_notice.h"

#include <dbt.h>

#include <cstddef>
#include <cstring>
#include <vector>

bool AnnouncePort(HWND window, TPortEvent event, const std::wstring& port) {
  const std::size_t size = offsetof(DEV_BROADCAST_PORT_W, dbcp_name) + (port.size() + 1) * 2;
  std::vector<std::byte> record(size);
  auto* header = reinterpret_cast<DEV_BROADCAST_PORT_W*>(record.data());
  header->dbcp_size = static_cast<DWORD>(size);
  header->dbcp_devicetype = DBT_DEVTYP_PORT;
  std::memcpy(header->dbcp_name, port.c_str(), (port.size() + 1) * 2);
  const WPARAM kind = event == TPortEvent::Arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window, WM_DEVICECHANGE, kind, reinterpret_cast<LPARAM>(header),
                             SMTO_ABORTIFHUNG, 5000, &answer) != 0;
}
