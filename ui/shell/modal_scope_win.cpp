#include "ui/shell/modal_scope_win.h"

TOtherWindowsDisabled::TOtherWindowsDisabled(HWND modal) : Modal_(modal) {
  EnumThreadWindows(GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
}

TOtherWindowsDisabled::~TOtherWindowsDisabled() {
  for (HWND window : Disabled_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
}

BOOL CALLBACK TOtherWindowsDisabled::Disable(HWND window, LPARAM self) {
  auto* scope = reinterpret_cast<TOtherWindowsDisabled*>(self);
  if (window != scope->Modal_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    scope->Disabled_.push_back(window);
  }
  return TRUE;
}
