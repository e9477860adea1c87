#include "ui/setup/device_list.h"

#include "core/utf8_text.h"
#include "services/trint.h"
#include "ui/shell/texts.h"

namespace {

std::wstring RowText(const std::string& name, const wchar_t* status) {
  std::wstring text = WideOfUtf8(name);
  if (status != nullptr) text += kSetupPortRowSeparator + Translate(status, 0);
  return text;
}

}  // namespace

TDeviceRows BuildDeviceRows(const std::string& current, const std::string& shown, bool currentOpen,
                            const std::vector<TSerialDevice>& present) {
  TDeviceRows rows;
  if (!current.empty()) {
    rows.Items.push_back({RowText(shown, currentOpen ? kSetupPortHeldOpen : kSetupPortHeldFailed),
                          true, currentOpen});
    rows.Names.push_back(current);
  }
  for (const TSerialDevice& device : present) {
    const std::string stored = StoredNameOf(device);
    if (stored == current) continue;
    rows.Items.push_back(
        {RowText(DeviceRowName(device), device.Busy ? kSetupPortUnavailable : nullptr), false,
         !device.Busy});
    rows.Names.push_back(stored);
  }
  return rows;
}

std::string CheckedDevice(const TDeviceRows& rows) {
  const int port = CheckedPort(rows.Items);
  return port == 0 ? std::string() : rows.Names[static_cast<std::size_t>(port - 1)];
}
