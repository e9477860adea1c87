#include "ui/tray/app_events_win.h"

void HideTaskbarButton(HWND applicationWindow, bool newStyleShell) {
  if (newStyleShell) ShowWindow(applicationWindow, SW_HIDE);
}

void ShowTaskbarButton(HWND applicationWindow, bool newStyleShell) {
  if (newStyleShell) ShowWindow(applicationWindow, SW_SHOW);
}
