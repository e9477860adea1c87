#include "reader/card_typing_win.h"

#include <windows.h>

namespace {
// The record is 48 bytes in the 32-bit program; the 64-bit build has wider handles and the
// platform refuses any size but its own.
static_assert(sizeof(void*) != 4 || sizeof(GUITHREADINFO) == 48);

HWND CaretWindowOfForeground() {
  const HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) return nullptr;
  const DWORD thread = GetWindowThreadProcessId(foreground, nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (thread == 0 || !GetGUIThreadInfo(thread, &info)) return nullptr;
  return info.hwndCaret;
}
}  // namespace

void TypeCardCode(CardCode code) {
  const HWND caret = CaretWindowOfForeground();
  if (caret == nullptr) return;
  // Posted, not sent: a busy target must not stall the reader.
  for (wchar_t digit : CardCodeText(code)) PostMessageW(caret, WM_CHAR, digit, 0);
}
