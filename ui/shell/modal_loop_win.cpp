#include "ui/shell/modal_loop_win.h"

#include <utility>
#include <vector>

#include "ui/shell/queue_wait_win.h"

namespace {

// Every visible, enabled window of this thread but the modal one, disabled for the scope.
class TOtherWindowsDisabled {
 public:
  explicit TOtherWindowsDisabled(HWND modal) : Modal_(modal) {
    EnumThreadWindows(GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
  }
  TOtherWindowsDisabled(const TOtherWindowsDisabled&) = delete;
  TOtherWindowsDisabled& operator=(const TOtherWindowsDisabled&) = delete;
  // Enables again those that still exist.
  ~TOtherWindowsDisabled() {
    for (HWND window : Disabled_) {
      if (IsWindow(window)) EnableWindow(window, TRUE);
    }
  }

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM self) {
    auto* scope = reinterpret_cast<TOtherWindowsDisabled*>(self);
    if (window != scope->Modal_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      scope->Disabled_.push_back(window);
    }
    return TRUE;
  }

  HWND Modal_;
  std::vector<HWND> Disabled_;
};

}  // namespace

int TModalLoop::Run(HWND window, HWND focus, const TKeyFilter& keys, int endingResult) {
  const HWND previouslyActive = GetActiveWindow();
  Window_ = window;
  Result_ = 0;
  {
    const TOtherWindowsDisabled disabled(window);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(focus != nullptr ? focus : window);
    MSG msg;
    while (Result_ == 0) {
      const BOOL got = WaitForMessage(msg);
      if (got <= 0) {
        Result_ = endingResult;
        if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (keys && keys(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  // The others are enabled again before the window hides, so activation can return to them.
  if (previouslyActive != nullptr && IsWindow(previouslyActive)) SetActiveWindow(previouslyActive);
  ShowWindow(window, SW_HIDE);
  Window_ = nullptr;
  return std::exchange(Result_, 0);
}

void TModalLoop::End(int result) {
  Result_ = result;
  // A message sent from another thread is handled inside GetMessage, which would go on
  // waiting; a posted null message lets the loop see the result.
  if (Window_ != nullptr) PostMessageW(Window_, WM_NULL, 0, 0);
}
