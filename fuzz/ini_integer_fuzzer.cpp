// Any text from the settings file must either be refused or give a number whose decimal
// spelling reads back as the same number.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/ini_value.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  for (std::size_t i = 0; i < size; ++i) text.push_back(static_cast<wchar_t>(data[i]));
  if (const auto value = ParseIniInteger(text)) {
    const auto again = ParseIniInteger(IniIntegerText(*value));
    if (!again || *again != *value) std::abort();
  }
  return 0;
}
