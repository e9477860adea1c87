#include "ui/tray/menu_owner_window_win.h"

#include <algorithm>
#include <vector>

#include "ui/tray/drawn_menu_win.h"
#include "ui/shell/unique_window_win.h"

namespace {

std::vector<TDrawnPopupMenu*>& Menus() {
  static std::vector<TDrawnPopupMenu*> menus;
  return menus;
}

TUniqueWindow& OwnerWindow() {
  static TUniqueWindow window;
  return window;
}

// Asks each menu in turn until one answers; a menu's command may destroy menus, so the
// walk goes over a copy and stops at the first answer.
template <typename Ask>
bool AskMenus(Ask ask) {
  const std::vector<TDrawnPopupMenu*> menus = Menus();
  TErrorReport report;
  try {
    for (TDrawnPopupMenu* menu : menus) {
      report = menu->Report();
      if (ask(*menu)) return true;
    }
  } catch (...) {
    // The message counts as handled; the program goes on.
    ReportCurrentException(report);
    return true;
  }
  return false;
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MEASUREITEM: {
      auto& request = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (request.CtlType == ODT_MENU &&
          AskMenus([&](TDrawnPopupMenu& menu) { return menu.MeasureItem(request); }))
        return TRUE;
      break;
    }
    case WM_DRAWITEM: {
      const auto& request = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (request.CtlType == ODT_MENU &&
          AskMenus([&](TDrawnPopupMenu& menu) { return menu.DrawItem(request); }))
        return TRUE;
      break;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 &&
          AskMenus([&](TDrawnPopupMenu& menu) { return menu.RunCommand(LOWORD(wParam)); }))
        return 0;
      break;
    case WM_INITMENUPOPUP:
      // These menus have no submenus to prepare; owning the menu is the whole answer.
      if (AskMenus([&](TDrawnPopupMenu& menu) {
            return menu.Owns(reinterpret_cast<HMENU>(wParam));
          }))
        return 0;
      break;
    case WM_MENUCHAR: {
      LRESULT result = 0;
      if (AskMenus([&](TDrawnPopupMenu& menu) {
            if (!menu.Owns(reinterpret_cast<HMENU>(lParam))) return false;
            const auto answer = menu.MenuChar(static_cast<wchar_t>(LOWORD(wParam)));
            if (answer) result = *answer;
            return answer.has_value();
          }))
        return result;
      break;
    }
    case WM_MENUSELECT: {
      const auto menuHandle = reinterpret_cast<HMENU>(lParam);
      if (AskMenus([&](TDrawnPopupMenu& menu) {
            return (menuHandle == nullptr || menu.Owns(menuHandle)) &&
                   menu.SelectItem(LOWORD(wParam));
          }))
        return 0;
      break;
    }
    case WM_HELP: {
      const auto& info = *reinterpret_cast<const HELPINFO*>(lParam);
      if (info.iContextType == HELPINFO_MENUITEM &&
          AskMenus([&](TDrawnPopupMenu& menu) {
            return menu.HelpOnItem(static_cast<UINT>(info.iCtrlId));
          }))
        return TRUE;
      break;
    }
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateOwnerWindow() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExW(instance, kMenuOwnerWindowClass, &windowClass)) {
    windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kMenuOwnerWindowClass;
    RegisterClassExW(&windowClass);
  }
  return CreateWindowExW(0, kMenuOwnerWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         instance, nullptr);
}

}  // namespace

void RegisterDrawnMenu(TDrawnPopupMenu* menu) {
  if (Menus().empty()) OwnerWindow().Reset(CreateOwnerWindow());
  Menus().push_back(menu);
}

void UnregisterDrawnMenu(TDrawnPopupMenu* menu) {
  auto& menus = Menus();
  menus.erase(std::remove(menus.begin(), menus.end(), menu), menus.end());
  if (menus.empty()) OwnerWindow().Reset();
}

HWND MenuOwnerWindow() { return OwnerWindow().Get(); }

UINT NextMenuCommandId() {
  static UINT next = 1;
  return next++;
}
