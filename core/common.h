// The program's shared declarations: the settings record, the output options, the program
// directory, the settings file's name and the port state. Written only by the GUI thread;
// the reader thread reads Settings.ReaderType through ReaderTypeNow() and the output options
// through OutputSettingsNow().
#pragma once

#include <cstdint>
#include <string>

struct TSettings {
  bool MinimizeOnRun = true;
  bool CheckExit = true;
  bool RunOnlyOneCopy = true;
  std::uint8_t ReaderType = 0;  // 0 = "26 bit", 1 = "40/42 bit"
  std::uint8_t PortNumber = 2;  // COMn; 0 names no port
};

// How a card number is typed: section "OUTPUT" of the settings file. A record of its own,
// so that TSettings and section "SETTINGS" stay as older copies of the program read them.
enum class TCardFormat : std::uint8_t {
  Decimal = 0,
  FacilityNumber = 1,  // "052,22136"
  Hexadecimal = 2,
};
enum class TCardSuffix : std::uint8_t { None = 0, Enter = 1, Tab = 2 };
struct TOutputSettings {
  TCardFormat Format = TCardFormat::Decimal;
  TCardSuffix Suffix = TCardSuffix::None;
  bool NoCaretTyping = false;  // type into the focused window when no window shows a caret
  bool operator==(const TOutputSettings&) const = default;
};

// The card journal: section "JOURNAL" of the settings file. Cards go to daily files only when
// the operator asks: card numbers are personal data.
struct TJournalSettings {
  bool ToFile = false;
  int KeepDays = 30;  // files older than this many days are deleted
  bool operator==(const TJournalSettings&) const = default;
};
inline constexpr int kMostJournalDays = 3650;

// What the last attempt to open the configured port left behind.
enum PortState : int {
  PortOpen = 0,
  PortMissing = 1,  // the port object could not be built
  PortClosed = 2,   // the port object exists but its device did not open
};

extern TSettings Settings;
extern TOutputSettings OutputSettings;
extern TJournalSettings JournalSettings;
extern std::wstring ExeDir;            // ends with a path separator
extern std::wstring SettingsFileName;  // "Lintavo.ini" until start-up prefixes ExeDir

// True when the system's major version is 4 or later; taken once at start-up. It decides
// whether minimising hides the task-bar button and how the tray menu draws.
extern bool NewStyleShell;

// The reader type is the one setting the reader thread reads while the GUI thread may
// change it; both sides go through these so the byte is read and written atomically.
std::uint8_t ReaderTypeNow();
void SetReaderType(std::uint8_t type);

// The output options are read by the reader thread for every card; each byte is read and
// written on its own, atomically. A card typed while the setup stores new options may take
// some old and some new: each combination types a whole number.
TOutputSettings OutputSettingsNow();
void SetOutputSettings(const TOutputSettings& output);
