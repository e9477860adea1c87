// Showing a window modally: the program's other windows take no input while it is open,
// and the caller waits in a loop of the window's own until the window ends it.
#pragma once

#include <windows.h>

#include <functional>

class TModalLoop {
 public:
  // Sees each message first; true when it was the window's own key and is done with.
  using TKeyFilter = std::function<bool(MSG&)>;

  // Shows the window with the focus on `focus` and returns the result given to End, or
  // `endingResult` when the program is asked to end meanwhile (the quit request then stays
  // for the main loop). The window is hidden again before this returns.
  int Run(HWND window, HWND focus, const TKeyFilter& keys, int endingResult);
  // Ends the loop with a result other than 0; safe from a message sent by another thread.
  void End(int result);
  bool Running() const { return Window_ != nullptr; }

 private:
  HWND Window_ = nullptr;
  int Result_ = 0;  // 0 while the window is open
};
