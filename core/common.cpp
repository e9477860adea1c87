#include "core/common.h"

#include <atomic>

TSettings Settings;
TOutputSettings OutputSettings;
TJournalSettings JournalSettings;
std::wstring ExeDir;
std::wstring SettingsFileName = L"Lintavo.ini";
bool NewStyleShell = true;

std::uint8_t ReaderTypeNow() {
  return std::atomic_ref<std::uint8_t>(Settings.ReaderType).load(std::memory_order_relaxed);
}

void SetReaderType(std::uint8_t type) {
  std::atomic_ref<std::uint8_t>(Settings.ReaderType).store(type, std::memory_order_relaxed);
}

namespace {
template <typename T>
T LoadByte(T& byte) {
  static_assert(sizeof(T) == 1);
  return std::atomic_ref<T>(byte).load(std::memory_order_relaxed);
}
template <typename T>
void StoreByte(T& byte, T value) {
  std::atomic_ref<T>(byte).store(value, std::memory_order_relaxed);
}
}  // namespace

TOutputSettings OutputSettingsNow() {
  return {LoadByte(OutputSettings.Format), LoadByte(OutputSettings.Suffix),
          LoadByte(OutputSettings.NoCaretTyping)};
}

void SetOutputSettings(const TOutputSettings& output) {
  StoreByte(OutputSettings.Format, output.Format);
  StoreByte(OutputSettings.Suffix, output.Suffix);
  StoreByte(OutputSettings.NoCaretTyping, output.NoCaretTyping);
}
