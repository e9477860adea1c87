// While a modal window is open the program's other windows take no input.
#pragma once

#include <windows.h>

#include <vector>

class TOtherWindowsDisabled {
 public:
  // Disables every visible, enabled window of this thread except the modal one.
  explicit TOtherWindowsDisabled(HWND modal);
  TOtherWindowsDisabled(const TOtherWindowsDisabled&) = delete;
  TOtherWindowsDisabled& operator=(const TOtherWindowsDisabled&) = delete;
  // Enables again those that still exist.
  ~TOtherWindowsDisabled();

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM self);
  HWND Modal_;
  std::vector<HWND> Disabled_;
};
