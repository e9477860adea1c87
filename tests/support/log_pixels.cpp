#include "tests/support/log_pixels.h"

#include "core/unique_handle_win.h"

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

struct TRegistryKeyPolicy : TNullIsEmpty<HKEY> {
  bool Close(HKEY key) const { return RegCloseKey(key) == ERROR_SUCCESS; }
};
using TUniqueKey = TUnique<TRegistryKeyPolicy>;

TUniqueKey DesktopKey() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return {};
  return TUniqueKey(key);
}

bool Write(HKEY key, DWORD dpi) {
  return RegSetValueExW(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                        sizeof dpi) == ERROR_SUCCESS;
}

}  // namespace

TLogPixels::TLogPixels(DWORD dpi) {
  const TUniqueKey key = DesktopKey();
  if (!key) return;
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueExW(key.Get(), kLogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) == ERROR_SUCCESS &&
      type == REG_DWORD)
    Before_ = value;
  Set_ = Write(key.Get(), dpi);
}

void TLogPixels::Restore() {
  if (!Set_ || Restored_) return;
  Restored_ = true;
  const TUniqueKey key = DesktopKey();
  if (!key) return;
  if (Before_) {
    Write(key.Get(), *Before_);
  } else {
    RegDeleteValueW(key.Get(), kLogPixels);
  }
}
