#include "ui/tray/app_events_win.h"

void HideTaskbarButton(HWND applicationWindow, bool goes) {
  if (goes) ShowWindow(applicationWindow, SW_HIDE);
}

void ShowTaskbarButton(HWND applicationWindow, bool newStyleShell) {
  if (newStyleShell) ShowWindow(applicationWindow, SW_SHOW);
}

void FitMinimisedTaskbarButton(HWND applicationWindow, bool goes) {
  if (!IsIconic(applicationWindow)) return;
  if (goes) {
    ShowWindow(applicationWindow, SW_HIDE);
  } else if (!IsWindowVisible(applicationWindow)) {
    ShowWindow(applicationWindow, SW_SHOWMINNOACTIVE);
  }
}
