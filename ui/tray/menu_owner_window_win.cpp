#include "ui/tray/menu_owner_window_win.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "ui/shell/window_win.h"
#include "ui/tray/drawn_menu_win.h"

namespace {

std::vector<TDrawnPopupMenu*>& Menus() {
  static std::vector<TDrawnPopupMenu*> menus;
  return menus;
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

class TMenuOwnerWindow : public TWindow<TMenuOwnerWindow> {
 public:
  static constexpr const wchar_t* kClassName = kMenuOwnerWindowClass;

  TMenuOwnerWindow() { CreateHandle({.Style = WS_POPUP}); }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

LRESULT TMenuOwnerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
  return DefaultProc(message, wParam, lParam);
}

std::unique_ptr<TMenuOwnerWindow>& OwnerWindow() {
  static std::unique_ptr<TMenuOwnerWindow> window;
  return window;
}

}  // namespace

void RegisterDrawnMenu(TDrawnPopupMenu* menu) {
  if (Menus().empty()) OwnerWindow() = std::make_unique<TMenuOwnerWindow>();
  Menus().push_back(menu);
}

void UnregisterDrawnMenu(TDrawnPopupMenu* menu) {
  auto& menus = Menus();
  menus.erase(std::remove(menus.begin(), menus.end(), menu), menus.end());
  if (menus.empty()) OwnerWindow().reset();
}

HWND MenuOwnerWindow() { return OwnerWindow() ? OwnerWindow()->Handle() : nullptr; }

UINT NextMenuCommandId() {
  static UINT next = 1;
  return next++;
}
