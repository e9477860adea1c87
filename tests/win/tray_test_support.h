// Helpers for driving the tray components: a pump for the test thread's messages and a
// watcher that deals with an open popup menu from another thread, as a user would.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

inline constexpr wchar_t kPopupMenuClass[] = L"#32768";

// Handles this thread's messages until done() or the time is up; true when done() held.
inline bool PumpUntil(const std::function<bool()>& done, int milliseconds = 3000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done && done()) return true;
    Sleep(10);
  }
  return done && done();
}

inline void PumpFor(int milliseconds) { PumpUntil(nullptr, milliseconds); }

inline HWND VisiblePopupMenu() {
  const HWND menu = FindWindowW(kPopupMenuClass, nullptr);
  return menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
}

// Waits on its own thread for a popup menu to show, notes where, then posts the keys to it
// (the menu takes keys only as messages posted to its window).
class TMenuWatcher {
 public:
  explicit TMenuWatcher(std::vector<WPARAM> keys, int milliseconds = 3000)
      : Thread_([this, keys, milliseconds] { Watch(keys, milliseconds); }) {}
  ~TMenuWatcher() { Join(); }
  TMenuWatcher(const TMenuWatcher&) = delete;
  TMenuWatcher& operator=(const TMenuWatcher&) = delete;

  void Join() {
    if (Thread_.joinable()) Thread_.join();
  }
  bool Seen() const { return Seen_; }
  RECT Rect() const { return Rect_; }

 private:
  void Watch(const std::vector<WPARAM>& keys, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 10) {
      if (const HWND menu = VisiblePopupMenu()) {
        GetWindowRect(menu, &Rect_);
        Seen_ = true;
        Sleep(100);  // let the items paint
        for (const WPARAM key : keys) {
          PostMessageW(menu, WM_KEYDOWN, key, 0);
          Sleep(50);
        }
        return;
      }
      Sleep(10);
    }
  }

  std::atomic<bool> Seen_{false};
  RECT Rect_{};
  std::thread Thread_;
};
