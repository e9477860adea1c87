// Loading and saving the settings record, section "SETTINGS" of the settings file.
#pragma once

#include "core/common.h"
#include "core/ini_file.h"

// Starts from the defaults; a key that is missing or not a number keeps the default.
void LoadSettingsFrom(const TIniFile& ini, TSettings& settings);

// Writes all five keys; false when a write failed (the keys after it are not written).
bool SaveSettingsTo(TIniFile& ini, const TSettings& settings);

// The global record against the file SettingsFileName, through the platform's
// private-profile functions (settings_file_win.cpp).
void LoadSettings();
bool SaveSettings();
