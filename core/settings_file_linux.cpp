#include "core/settings_file_linux.h"

#include <sys/stat.h>

#include <cstdlib>

#include "core/profile_file_posix.h"
#include "core/settings.h"
#include "core/utf8_text.h"

std::string PortDevice;

namespace {

const std::wstring kSection = L"SETTINGS";
const std::wstring kPortDeviceKey = L"PortDevice";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

std::string XdgConfigHome() {
  const std::string configured = Environment("XDG_CONFIG_HOME");
  if (configured.starts_with('/')) return configured;
  return Environment("HOME") + "/.config";
}

std::string JournalDirectory() {
  const std::string configured = Environment("XDG_STATE_HOME");
  const std::string state =
      configured.starts_with('/') ? configured : Environment("HOME") + "/.local/state";
  return state + "/lintavo/journal";
}

std::string SettingsDirectory() { return XdgConfigHome() + "/lintavo/"; }

void LoadSettings() {
  TProfileFile store;
  const TIniFile ini(store, SettingsFileName);
  LoadProgramSettingsFrom(ini);
  PortDevice = Utf8OfWide(ini.ReadString(kSection, kPortDeviceKey, L""));
}

void MakeSettingsDirectory() {
  mkdir(XdgConfigHome().c_str(), 0700);
  mkdir(SettingsDirectory().c_str(), 0700);
}

bool SaveSettings() {
  MakeSettingsDirectory();
  TProfileFile store;
  TIniFile ini(store, SettingsFileName);
  if (!SaveProgramSettingsTo(ini)) return false;
  try {
    ini.WriteString(kSection, kPortDeviceKey, WideOfUtf8(PortDevice));
  } catch (const IniWriteError&) {
    return false;
  }
  return true;
}
