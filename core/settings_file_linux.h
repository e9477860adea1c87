// Where the Linux edition keeps its settings, and the one setting it has beyond the Windows
// program's: the serial device. Lintavo.ini lives in $XDG_CONFIG_HOME/lintavo/ (by default
// ~/.config/lintavo/) with the same sections, keys and value rules as on Windows; LoadSettings
// and SaveSettings (core/settings.h) read and write it.
#pragma once

#include <string>

// $XDG_CONFIG_HOME when it is an absolute path, otherwise $HOME/.config; no trailing '/'.
std::string XdgConfigHome();

// Where the card journal's daily files go when the operator keeps them: the state folder,
// $XDG_STATE_HOME/lintavo/journal (by default ~/.local/state/lintavo/journal).
std::string JournalDirectory();

// The settings folder, with its trailing '/'.
std::string SettingsDirectory();
// Makes it where it is missing: at start, so that the window's place can be saved at the
// exit by a user who never saved a setting.
void MakeSettingsDirectory();

// The reader's device by its stable name (/dev/serial/by-id/... where the device has one),
// key "PortDevice" of section "SETTINGS"; empty names no device. "PortNumber" is kept as the
// file had it, so the same file serves the Windows program too. GUI thread only.
extern std::string PortDevice;
