// Loading and saving the settings record, section "SETTINGS" of the settings file, the
// output options, section "OUTPUT", and the journal's, section "JOURNAL".
#pragma once

#include "core/common.h"
#include "core/ini_file.h"

// Starts from the defaults; a key that is missing or not a number keeps the default.
void LoadSettingsFrom(const TIniFile& ini, TSettings& settings);

// Writes all five keys; false when a write failed (the keys after it are not written).
bool SaveSettingsTo(TIniFile& ini, const TSettings& settings);

// Section "OUTPUT": starts from the defaults; each of Format (0..2), Suffix (0..2) and
// NoCaretTyping (0..1) is read with the integer rule, and a value that is missing, not a
// number or outside its range gives the default.
void LoadOutputSettingsFrom(const TIniFile& ini, TOutputSettings& output);

// Writes the three keys of "OUTPUT", but only when `output` differs from what the file was
// last known to hold (`onFile`): a file without the section keeps without it until an option
// is changed. False when a write failed (the keys after it are not written).
bool SaveOutputSettingsTo(TIniFile& ini, const TOutputSettings& output,
                          const TOutputSettings& onFile);

// Section "JOURNAL": ToFile (0..1) and KeepDays (1..3650), each read with the integer rule; a
// value missing, not a number or out of range gives the default.
void LoadJournalSettingsFrom(const TIniFile& ini, TJournalSettings& journal);
// Writes both keys, only when `journal` differs from `onFile`, as for "OUTPUT".
bool SaveJournalSettingsTo(TIniFile& ini, const TJournalSettings& journal,
                           const TJournalSettings& onFile);

// The global records from and to an open settings file: Settings, the output options and the
// journal's, with what "OUTPUT" and "JOURNAL" held remembered so that a save writes each only
// when its options changed.
void LoadProgramSettingsFrom(const TIniFile& ini);
bool SaveProgramSettingsTo(TIniFile& ini);

// The global records against the file SettingsFileName, through the platform's settings
// store (settings_file_win.cpp, settings_file_linux.cpp). SaveSettings writes "SETTINGS" whole and
// "OUTPUT" and "JOURNAL" only when their options changed since the file was read or last
// written.
void LoadSettings();
bool SaveSettings();
