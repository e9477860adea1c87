// Pokes a running Lintavo from outside for the screenshots in look.sh:
//   lintavo_poke hover|press <x>   mouse over / press at x in the toolbar (x < 0: from the right)
//   lintavo_poke menu-key <vk>     a key to the open popup menu
//   lintavo_poke command <id>      a menu command to the main window
//   lintavo_poke minimize 0        the main window's minimise button
//   lintavo_poke tray <message>    the shell's notice about the tray icon, e.g. 516 then 517
//                                  for a right click
#include <windows.h>

#include <cwchar>
#include <string>

#include "tests/support/window_classes.h"
#include "ui/tray/tray_icon.h"
#include "ui/tray/tray_icon_win.h"

namespace {

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return window != nullptr && PostMessageW(window, message, wParam, lParam) != FALSE;
}

int PokeToolBar(HWND main, bool press, int x) {
  const HWND bar = FindWindowExW(main, nullptr, window_class::kToolBar, nullptr);
  if (bar == nullptr) return 1;
  RECT outer{};
  GetWindowRect(main, &outer);
  const LPARAM point = MAKELPARAM(x < 0 ? outer.right - outer.left + x : x, 28);
  SetForegroundWindow(main);
  PostMessageW(bar, WM_MOUSEMOVE, 0, point);
  if (press) PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, point);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring verb = argv[1];
  const int value = static_cast<int>(std::wcstol(argv[2], nullptr, 0));
  const HWND main = FindWindowW(window_class::kMainForm, nullptr);
  if (verb == L"menu-key")
    return Post(FindWindowW(window_class::kPopupMenu, nullptr), WM_KEYDOWN, value, 0) ? 0 : 1;
  if (verb == L"tray") {
    const HWND icon = FindWindowW(kTrayIconWindowClass, nullptr);
    return Post(icon, kTrayIconMessage, kTrayIconId, static_cast<LPARAM>(value)) ? 0 : 1;
  }
  if (verb == L"command") return Post(main, WM_COMMAND, value, 0) ? 0 : 1;
  if (verb == L"minimize") return Post(main, WM_SYSCOMMAND, SC_MINIMIZE, 0) ? 0 : 1;
  if (verb == L"hover" || verb == L"press") return PokeToolBar(main, verb == L"press", value);
  return 2;
}
