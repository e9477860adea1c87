#include "tests/support/menu_watcher.h"

#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"

HWND VisiblePopupMenu() { return FindVisibleWindow(window_class::kPopupMenu, nullptr); }

TMenuWatcher::TMenuWatcher(std::vector<WPARAM> keys, DWORD timeoutMs)
    : Thread_([this, keys = std::move(keys), timeoutMs] { Watch(keys, timeoutMs); }) {}

void TMenuWatcher::Join() {
  if (Thread_.joinable()) Thread_.join();
}

void TMenuWatcher::Watch(const std::vector<WPARAM>& keys, DWORD timeoutMs) {
  const HWND menu = WaitForWindow(&VisiblePopupMenu, timeoutMs);
  if (menu == nullptr) return;
  GetWindowRect(menu, &Rect_);
  Seen_ = true;
  Sleep(100);  // the items paint after the window shows
  for (const WPARAM key : keys) {
    PostMessageW(menu, WM_KEYDOWN, key, 0);
    Sleep(50);
  }
}
