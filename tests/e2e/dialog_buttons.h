// Pressing a dialog's button from outside as the operator would: only once the dialog is on
// the screen with its buttons made (the dialog window is found before its buttons exist).
#pragma once

#include <windows.h>

#include "tests/win/reader_notepad.h"

namespace e2e {

// Posts BM_CLICK to the button with the given caption, once it exists and can be pressed.
inline bool PressButton(HWND dialog, const wchar_t* caption, DWORD timeoutMs = 15'000) {
  HWND button = nullptr;
  const bool ready = WaitUntil(
      [&] {
        button = FindWindowExW(dialog, nullptr, L"Button", caption);
        return button != nullptr && IsWindowVisible(dialog) && IsWindowEnabled(button);
      },
      timeoutMs);
  return ready && PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

}  // namespace e2e
