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

void FlashTaskbarButton(HWND applicationWindow, bool flashing) {
  FLASHWINFO flash{};
  flash.cbSize = sizeof(flash);
  flash.hwnd = applicationWindow;
  flash.dwFlags = flashing ? FLASHW_TRAY | FLASHW_TIMER : FLASHW_STOP;
  FlashWindowEx(&flash);
}
