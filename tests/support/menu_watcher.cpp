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

void TMenuWatcher::StopWatching() {
  Stop_ = true;
  Join();
}

// The menu's owner thread takes the keys from its queue in order once its menu loop runs,
// so they are posted as soon as the menu shows.
void TMenuWatcher::Watch(const std::vector<WPARAM>& keys, DWORD timeoutMs) {
  HWND menu = nullptr;
  WaitUntil([&] { return Stop_ || (menu = VisiblePopupMenu()) != nullptr; }, timeoutMs);
  if (menu == nullptr) return;
  GetWindowRect(menu, &Rect_);
  Seen_ = true;
  for (const WPARAM key : keys) PostMessageW(menu, WM_KEYDOWN, key, 0);
}
