#include "core/private_profile_win.h"
#include "core/settings.h"

namespace {
// Section "OUTPUT" as this run last read or wrote it.
TOutputSettings OutputOnFile;
}  // namespace

void LoadSettings() {
  PrivateProfileStore store;
  const TIniFile ini(store, SettingsFileName);
  TSettings loaded;
  LoadSettingsFrom(ini, loaded);
  Settings = loaded;
  LoadOutputSettingsFrom(ini, OutputOnFile);
  SetOutputSettings(OutputOnFile);
}

bool SaveSettings() {
  PrivateProfileStore store;
  TIniFile ini(store, SettingsFileName);
  const TOutputSettings output = OutputSettingsNow();
  if (!SaveSettingsTo(ini, Settings) || !SaveOutputSettingsTo(ini, output, OutputOnFile))
    return false;
  OutputOnFile = output;
  return true;
}
