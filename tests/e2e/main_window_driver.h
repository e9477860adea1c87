// Drives Lintavo's main window from outside as a user would: dialog buttons, menu commands,
// toolbar presses and the help drop-down, and reading what the windows show.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/lintavo_instance.h"
#include "tests/win/win_test_windows.h"

namespace e2e {

inline constexpr wchar_t kMessageFormClass[] = L"TMessageForm";
inline constexpr wchar_t kPopupMenuClass[] = L"#32768";
inline constexpr wchar_t kDialogClass[] = L"#32770";
inline constexpr wchar_t kExitCaption[] = L"Завершение работы";
inline constexpr int kMessageLabelId = 90;
inline constexpr int kToolButtonTop = 3;
inline constexpr int kToolButtonWidth = 64;
inline constexpr int kToolButtonHeight = 51;

enum class ToolButton { Setup, Help, Exit };

inline int OuterWidth(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r.right - r.left;
}

// The button's left in the toolbar for the window's current outer width.
inline int ToolButtonLeft(HWND main, ToolButton button) {
  switch (button) {
    case ToolButton::Setup:
      return 3;
    case ToolButton::Help:
      return OuterWidth(main) - 2 * kToolButtonWidth - 10;
    case ToolButton::Exit:
      return OuterWidth(main) - kToolButtonWidth - 10;
  }
  return 0;
}

inline HWND ToolBarOf(HWND main) { return FindWindowExW(main, nullptr, L"LintavoToolBar", nullptr); }

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

// Chooses the entry `downs` key presses down in an open popup menu.
inline void ChooseFromPopup(HWND popup, int downs) {
  for (int i = 0; i < downs; ++i) PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
}

inline HWND ChildWithText(HWND parent, const std::wstring& text) {
  for (HWND child : ChildWindows(parent))
    if (WindowText(child) == text) return child;
  return nullptr;
}

// A posted click leaves the dialog's modal loop free to act on it. The dialog may be found
// before its buttons are made.
inline bool PostButtonClick(HWND dialog, const std::wstring& caption) {
  const HWND button =
      WaitForWindow([&] { return ChildWithText(dialog, caption); }, 10'000);
  if (button == nullptr) return false;
  PostMessageW(button, BM_CLICK, 0, 0);
  return true;
}

inline std::wstring MessageFormText(HWND form) {
  return WindowText(GetDlgItem(form, kMessageLabelId));
}

// Every top-level window of the class on the desktop, whoever owns it.
inline std::vector<HWND> VisibleTopLevels(const wchar_t* className) {
  std::vector<HWND> all, found;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all)
    if (ClassName(window) == className && IsWindowVisible(window)) found.push_back(window);
  return found;
}

inline bool HasChildText(HWND parent, const std::wstring& text) {
  return ChildWithText(parent, text) != nullptr;
}

// Whether any pixel of the window's screen area has the colour; read from the screen as
// the user sees it.
class TScreenDc {
 public:
  TScreenDc() : Dc_(GetDC(nullptr)) {}
  ~TScreenDc() { ReleaseDC(nullptr, Dc_); }
  TScreenDc(const TScreenDc&) = delete;
  TScreenDc& operator=(const TScreenDc&) = delete;
  HDC Get() const { return Dc_; }

 private:
  HDC Dc_;
};

inline bool ShowsColour(HWND window, COLORREF colour) {
  RECT r{};
  GetWindowRect(window, &r);
  const TScreenDc screen;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (GetPixel(screen.Get(), x, y) == colour) return true;
  return false;
}

// The number of threads the process runs now.
inline int ThreadCount(DWORD processId) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  const std::unique_ptr<void, decltype(&CloseHandle)> owner(snapshot, &CloseHandle);
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == processId) ++count;
  return count;
}

}  // namespace e2e
