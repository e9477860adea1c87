// Drives Lintavo's main window from outside as a user would: menu commands, toolbar presses
// and the help drop-down, and reading the program's own message dialog.
#pragma once

#include <windows.h>

#include <string>

#include "tests/e2e/lintavo_instance.h"
#include "tests/support/front_window.h"
#include "tests/support/setup_dialog_driver.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_rect.h"
#include "tests/support/window_text.h"
#include "ui/main_window/toolbar_look.h"
#include "ui/shell/texts.h"

namespace e2e {

inline constexpr int kMessageLabelId = 90;

enum class ToolButton { Setup, Help, Exit };

// The button's left in the toolbar for the window's current outer width, at 96 DPI.
inline int ToolButtonLeft(HWND main, ToolButton button) {
  switch (button) {
    case ToolButton::Setup:
      return kSetupButtonLeft;
    case ToolButton::Help:
      return HelpButtonLeft(OuterSize(main).cx);
    case ToolButton::Exit:
      return ExitButtonLeft(OuterSize(main).cx);
  }
  return 0;
}

// The main window shows to a search from its first moment, a little before its toolbar
// exists (the longer with the system's theme to set up); the toolbar is waited for.
inline HWND ToolBarOf(HWND main) {
  return WaitForWindow(
      [main] { return FindWindowExW(main, nullptr, window_class::kToolBar, nullptr); });
}

inline LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

inline void PostToolBarPress(HWND main, int x, int y = kToolButtonTop + kToolButtonHeight / 2) {
  const HWND bar = ToolBarOf(main);
  PostMessageW(bar, WM_MOUSEMOVE, 0, Point(x, y));
  PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
}

inline void PostToolBarClick(HWND main, int x, int y = kToolButtonTop + kToolButtonHeight / 2) {
  PostToolBarPress(main, x, y);
  PostMessageW(ToolBarOf(main), WM_LBUTTONUP, 0, Point(x, y));
}

inline void PostToolBarClick(HWND main, ToolButton button) {
  PostToolBarClick(main, ToolButtonLeft(main, button) + kToolButtonWidth / 2);
}

inline void PostMenuCommand(HWND main, int id) { PostMessageW(main, WM_COMMAND, id, 0); }

// Chooses a setup entry of the main menu as a click on it does, with the main window in
// front as it is for a click, and waits until the filled dialog shows and has taken the
// front; nullptr when it did not.
inline HWND OpenSetupDialog(const TLintavoInstance& lintavo, int command, DWORD timeoutMs) {
  const HWND main = lintavo.MainWindow(0);
  if (GetForegroundWindow() != main && !BringToFront(main, nullptr)) return nullptr;
  TSetupDialogDriver::ParkPointer();
  PostMenuCommand(main, command);
  HWND dialog = nullptr;
  WaitUntil(
      [&] {
        dialog = lintavo.FindTopLevel(window_class::kSetupForm, kSetupCaption);
        return dialog != nullptr && IsWindowVisible(dialog);
      },
      timeoutMs);
  return dialog != nullptr && WaitForFront(dialog, timeoutMs) ? dialog : nullptr;
}

inline std::wstring MessageFormText(HWND form) {
  return WindowText(GetDlgItem(form, kMessageLabelId));
}

}  // namespace e2e
