#include "core/private_profile_win.h"
#include "core/settings.h"

void LoadSettings() {
  PrivateProfileStore store;
  LoadProgramSettingsFrom(TIniFile(store, SettingsFileName));
}

bool SaveSettings() {
  PrivateProfileStore store;
  TIniFile ini(store, SettingsFileName);
  return SaveProgramSettingsTo(ini);
}
