// Hooks for the application's minimised and restored notices, which the application raises
// after it has minimised or restored itself.
#pragma once

#include <windows.h>

#include <functional>

class TAppEvents {
 public:
  std::function<void()> OnMinimize;
  std::function<void()> OnRestore;

  void Minimized() const {
    if (OnMinimize) OnMinimize();
  }
  void Restored() const {
    if (OnRestore) OnRestore();
  }
};

// While minimised the program lives in the notification area: its task-bar button goes
// with the window that carries it, and comes back on restore. Older shells keep it, and so
// does a program whose icon the shell refused, or the operator could not reach it.
void HideTaskbarButton(HWND applicationWindow, bool goes);
void ShowTaskbarButton(HWND applicationWindow, bool newStyleShell);
// While minimised, the button as it should be now that the icon came or went.
void FitMinimisedTaskbarButton(HWND applicationWindow, bool goes);
// A number the operator has not seen: the button flashes until the window is opened.
void FlashTaskbarButton(HWND applicationWindow, bool flashing);
