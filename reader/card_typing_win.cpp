#include "reader/card_typing_win.h"

#include <windows.h>

#include <vector>

#include "reader/typing_plan.h"

namespace {
// The record is 48 bytes in the 32-bit program; the 64-bit build has wider handles and the
// platform refuses any size but its own.
static_assert(sizeof(void*) != 4 || sizeof(GUITHREADINFO) == 48);

struct TForegroundThread {
  TForeground Facts;
  HWND Caret = nullptr;
};

TForegroundThread LookAtForeground() {
  TForegroundThread found;
  const HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) return found;
  DWORD process = 0;
  const DWORD thread = GetWindowThreadProcessId(foreground, &process);
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (thread == 0 || !GetGUIThreadInfo(thread, &info)) return found;
  found.Facts = {.Exists = true,
                 .Ours = process == GetCurrentProcessId(),
                 .HasCaret = info.hwndCaret != nullptr,
                 .HasFocus = info.hwndFocus != nullptr};
  found.Caret = info.hwndCaret;
  return found;
}

std::uint16_t ScanCodeOf(TCardSuffix suffix) {
  const auto key = SuffixKey(suffix);
  return key ? static_cast<std::uint16_t>(MapVirtualKeyW(*key, MAPVK_VK_TO_VSC)) : 0;
}

// Posted, not sent: a busy target must not stall the reader.
void PostToCaretWindow(HWND caret, const std::wstring& text, TCardSuffix suffix) {
  const auto scanCode = static_cast<std::uint8_t>(ScanCodeOf(suffix));
  for (const TPostedMessage& message : CaretWindowMessages(text, suffix, scanCode)) {
    PostMessageW(caret, message.Message, message.WParam, static_cast<LPARAM>(message.LParam));
  }
}

// One call for the whole number, so the operator's own typing cannot fall in between.
void SendToFocusedWindow(const std::wstring& text, TCardSuffix suffix) {
  std::vector<INPUT> inputs;
  for (const TKeyEvent& event : FocusedWindowKeyEvents(text, suffix, ScanCodeOf(suffix))) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = event.VirtualKey;
    input.ki.wScan = event.Scan;
    input.ki.dwFlags =
        (event.Unicode ? KEYEVENTF_UNICODE : 0) | (event.Release ? KEYEVENTF_KEYUP : 0);
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
}  // namespace

void TypeCardCode(CardCode code) {
  const TOutputSettings output = OutputSettingsNow();
  const TForegroundThread foreground = LookAtForeground();
  const TTypingRoute route = TypingRouteOf(foreground.Facts, output.NoCaretTyping);
  if (route == TTypingRoute::Nowhere) return;
  const std::wstring text = CardCodeText(code, output.Format, ReaderTypeNow());
  if (route == TTypingRoute::CaretWindow) {
    PostToCaretWindow(foreground.Caret, text, output.Suffix);
  } else {
    SendToFocusedWindow(text, output.Suffix);
  }
}
