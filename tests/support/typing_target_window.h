// A top-level window of the test process for a reader to type into, in front, recording
// every key and character message its thread takes from the queue. With a caret it stands
// for an ordinary text field that answers nothing itself; without one for a program that
// draws its own caret: the focus sits on a button and no window shows a caret.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/unique_handle_win.h"

class TTypingTargetWindow {
 public:
  enum class TCaret { Shown, None };

  struct TKeyMessage {
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
    bool operator==(const TKeyMessage&) const = default;
  };

  explicit TTypingTargetWindow(TCaret caret);

  HWND Window() const { return Window_.Get(); }
  HWND Focus() const { return Focus_; }

  // Asks once for the window to come to the front with the focus where it belongs, and
  // waits until the platform tells any thread that asks so, caret included.
  bool Ready();
  // Runs this thread's messages as a program's loop does, recording the keys, for a while;
  // or what is waiting now.
  void PumpFor(DWORD ms);
  TTypingTargetWindow& Pump() {
    PumpFor(0);
    return *this;
  }

  const std::vector<TKeyMessage>& Received() const { return Received_; }
  // The characters received, in order.
  std::wstring Characters() const;
  void Forget() { Received_.clear(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Note(const MSG& msg);

  TCaret Caret_;
  TUniqueWindow Window_;
  HWND Focus_ = nullptr;
  std::vector<TKeyMessage> Received_;
};
