// Pokes a running program's tray icon from outside, for looking at the menu by hand:
//   tray_poke.exe mouse <message>   the shell's notice, e.g. 516 then 517 for a right click
//   tray_poke.exe menu-key <vk>      a key posted to the open popup menu
//   tray_poke.exe main <message> <wparam>   a message to the tray demo's main window
#include <windows.h>

#include <string>

#include "tests/win/tray_demo_protocol.h"
#include "ui/tray/tray_icon.h"
#include "ui/tray/tray_icon_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring what = argv[1];
  const unsigned value = static_cast<unsigned>(std::stoul(argv[2], nullptr, 0));
  if (what == L"mouse") {
    const HWND icon = FindWindowW(kTrayIconWindowClass, nullptr);
    return icon != nullptr && PostMessageW(icon, kTrayIconMessage, kTrayIconId, value) ? 0 : 1;
  }
  if (what == L"menu-key") {
    const HWND menu = FindWindowW(L"#32768", nullptr);
    return menu != nullptr && PostMessageW(menu, WM_KEYDOWN, value, 0) ? 0 : 1;
  }
  if (what == L"main" && argc >= 4) {
    const HWND main = FindWindowW(kTrayDemoClass, nullptr);
    const WPARAM wParam = std::stoul(argv[3], nullptr, 0);
    return main != nullptr && PostMessageW(main, value, wParam, 0) ? 0 : 1;
  }
  return 2;
}
