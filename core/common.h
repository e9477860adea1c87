// The program's shared declarations: the settings record, the program directory, the
// settings file's name and the port state. Written only by the GUI thread; the reader
// thread reads Settings.ReaderType through ReaderTypeNow().
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

// What the last attempt to open the configured port left behind.
enum PortState : int {
  PortOpen = 0,
  PortMissing = 1,  // the port object could not be built
  PortClosed = 2,   // the port object exists but its device did not open
};

extern TSettings Settings;
extern std::wstring ExeDir;            // ends with a path separator
extern std::wstring SettingsFileName;  // "Lintavo.ini" until start-up prefixes ExeDir

// True when the system's major version is 4 or later; taken once at start-up. It decides
// whether minimising hides the task-bar button and how the tray menu draws.
extern bool NewStyleShell;

// The reader type is the one setting the reader thread reads while the GUI thread may
// change it; both sides go through these so the byte is read and written atomically.
std::uint8_t ReaderTypeNow();
void SetReaderType(std::uint8_t type);
