#include "core/private_profile_win.h"
#include "core/settings.h"

void LoadSettings() {
  PrivateProfileStore store;
  const TIniFile ini(store, SettingsFileName);
  TSettings loaded;
  LoadSettingsFrom(ini, loaded);
  Settings = loaded;
}

bool SaveSettings() {
  PrivateProfileStore store;
  TIniFile ini(store, SettingsFileName);
  return SaveSettingsTo(ini, Settings);
}
