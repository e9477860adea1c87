#include "tests/support/front_window.h"

#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_text.h"

namespace {

std::wstring ClassOrNone(HWND window) {
  return window == nullptr ? L"none" : ClassName(window);
}

}  // namespace

bool BringToFront(HWND top, HWND caret, DWORD timeoutMs) {
  SetForegroundWindow(top);
  return WaitUntil(
      [&] { return GetForegroundWindow() == top && GuiThreadOf(top).hwndCaret == caret; },
      timeoutMs);
}

std::wstring DescribeFront() {
  const HWND front = GetForegroundWindow();
  if (front == nullptr) return L"no window in front";
  DWORD process = 0;
  GetWindowThreadProcessId(front, &process);
  const GUITHREADINFO thread = GuiThreadOf(front);
  return L"in front " + ClassName(front) + L" \"" + WindowText(front) + L"\" of process " +
         std::to_wstring(process) + L", focus " + ClassOrNone(thread.hwndFocus) + L", caret " +
         ClassOrNone(thread.hwndCaret);
}
