#include "core/common.h"

#include <atomic>

TSettings Settings;
std::wstring ExeDir;
std::wstring SettingsFileName = L"Lintavo.ini";
bool NewStyleShell = true;

std::uint8_t ReaderTypeNow() {
  return std::atomic_ref<std::uint8_t>(Settings.ReaderType).load(std::memory_order_relaxed);
}

void SetReaderType(std::uint8_t type) {
  std::atomic_ref<std::uint8_t>(Settings.ReaderType).store(type, std::memory_order_relaxed);
}
