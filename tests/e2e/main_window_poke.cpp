// Pokes a running Lintavo's main window for the screenshots in main_window_look.sh:
//   main_window_poke hover|press <x>   mouse over / press at x in the toolbar
//   main_window_poke menu-key <vk>     a key to the open drop-down
//   main_window_poke command <id>      a menu command to the main window
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring verb = argv[1];
  const int value = static_cast<int>(std::wcstol(argv[2], nullptr, 0));
  if (verb == L"menu-key") {
    const HWND popup = FindWindowW(L"#32768", nullptr);
    return popup != nullptr && PostMessageW(popup, WM_KEYDOWN, value, 0) ? 0 : 1;
  }
  const HWND main = FindWindowW(L"TLintavoForm", nullptr);
  if (verb == L"command") return main != nullptr && PostMessageW(main, WM_COMMAND, value, 0) ? 0 : 1;
  const HWND bar = FindWindowExW(main, nullptr, L"LintavoToolBar", nullptr);
  if (bar == nullptr) return 1;
  RECT outer{};
  GetWindowRect(main, &outer);
  const int x = value < 0 ? outer.right - outer.left + value : value;
  const LPARAM point = MAKELPARAM(x, 28);
  SetForegroundWindow(main);
  PostMessageW(bar, WM_MOUSEMOVE, 0, point);
  if (verb == L"press") PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, point);
  return 0;
}
