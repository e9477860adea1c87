// Dealing with a popup menu the way a user would, from a thread of its own while the menu's
// owner sits in the menu's loop.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

// The popup menu on the screen, whoever opened it, or nullptr.
HWND VisiblePopupMenu();

// Waits on its own thread for a popup menu to show, notes where, then posts the keys to it
// (the menu takes keys only as messages posted to its window). A menu that must not open is
// shown not to with a fence posted after whatever could have opened it (TQueueFence): when
// the fence has passed and the watcher saw nothing, nothing opened.
class TMenuWatcher {
 public:
  explicit TMenuWatcher(std::vector<WPARAM> keys, DWORD timeoutMs = 3000);
  ~TMenuWatcher() { Join(); }
  TMenuWatcher(const TMenuWatcher&) = delete;
  TMenuWatcher& operator=(const TMenuWatcher&) = delete;

  void Join();
  // Gives up waiting for a menu that has not shown.
  void StopWatching();
  bool Seen() const { return Seen_; }
  RECT Rect() const { return Rect_; }

 private:
  void Watch(const std::vector<WPARAM>& keys, DWORD timeoutMs);

  std::atomic<bool> Seen_{false};
  std::atomic<bool> Stop_{false};
  RECT Rect_{};
  std::thread Thread_;
};
