#include "core/settings.h"

#include <algorithm>

namespace {

const std::wstring kSection = L"SETTINGS";

std::uint8_t LowByte(std::int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

}  // namespace

void LoadSettingsFrom(const TIniFile& ini, TSettings& settings) {
  settings = TSettings{};
  settings.MinimizeOnRun = ini.ReadBool(kSection, L"MinimizeOnRun", settings.MinimizeOnRun);
  settings.CheckExit = ini.ReadBool(kSection, L"CheckExit", settings.CheckExit);
  settings.RunOnlyOneCopy = ini.ReadBool(kSection, L"RunOnlyOneCopy", settings.RunOnlyOneCopy);
  const std::uint8_t type = LowByte(ini.ReadInteger(kSection, L"ReaderType", settings.ReaderType));
  settings.ReaderType = std::min<std::uint8_t>(type, 1);
  settings.PortNumber = LowByte(ini.ReadInteger(kSection, L"PortNumber", settings.PortNumber));
}

bool SaveSettingsTo(TIniFile& ini, const TSettings& settings) {
  try {
    ini.WriteBool(kSection, L"MinimizeOnRun", settings.MinimizeOnRun);
    ini.WriteBool(kSection, L"CheckExit", settings.CheckExit);
    ini.WriteBool(kSection, L"RunOnlyOneCopy", settings.RunOnlyOneCopy);
    ini.WriteInteger(kSection, L"ReaderType", settings.ReaderType);
    ini.WriteInteger(kSection, L"PortNumber", settings.PortNumber);
  } catch (const IniWriteError&) {
    return false;
  }
  return true;
}
