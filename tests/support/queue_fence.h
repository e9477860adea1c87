// A fence in a thread's message queue. A thread takes the messages posted to its windows in
// the order they were posted, whichever loop runs (its own, a dialog's, a menu's), so once a
// fence posted after some messages has been handled, so have they: whatever they were to
// do is done, and what they were not to do has not happened. No fixed wait is needed.
#pragma once

#include <windows.h>

#include <atomic>

#include "core/unique_handle_win.h"

class TQueueFence {
 public:
  // A window only for messages, on the calling thread: the thread whose queue is fenced.
  TQueueFence();

  // Posts a fence after whatever was posted to the thread before it, from any thread; its
  // number.
  int Post();
  bool Passed(int number) const { return Passed_ >= number; }
  // Posts a fence and waits until the window's thread has handled it; false when it did
  // not within timeoutMs. Not from the window's own thread, which must be running a loop.
  bool PostAndWait(DWORD timeoutMs = 5000);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  TUniqueWindow Window_;
  std::atomic<int> Posted_{0};
  std::atomic<int> Passed_{0};
};
