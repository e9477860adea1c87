#include "tests/support/dialog_buttons.h"

#include "tests/support/wait.h"

bool PressButton(HWND dialog, const wchar_t* caption, DWORD timeoutMs) {
  HWND button = nullptr;
  const bool ready = WaitUntil(
      [&] {
        button = FindWindowExW(dialog, nullptr, L"Button", caption);
        return button != nullptr && IsWindowVisible(dialog) && IsWindowEnabled(button);
      },
      timeoutMs);
  return ready && PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}
