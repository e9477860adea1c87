#include "reader/card_typing_win.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/unique_handle_win.h"
#include "reader/card_delivery.h"
#include "reader/typing_plan.h"

namespace {
// The record is 48 bytes in the 32-bit program; the 64-bit build has wider handles and the
// platform refuses any size but its own.
static_assert(sizeof(void*) != 4 || sizeof(GUITHREADINFO) == 48);

struct TForegroundThread {
  TForeground Facts;
  HWND Window = nullptr;
  HWND Caret = nullptr;
  DWORD Process = 0;
};

TForegroundThread LookAtForeground() {
  TForegroundThread found;
  const HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) return found;
  DWORD process = 0;
  const DWORD thread = GetWindowThreadProcessId(foreground, &process);
  found.Window = foreground;
  found.Process = process;
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

// The mandatory integrity level of a process, or none when the system will not say.
std::optional<DWORD> IntegrityLevelOf(HANDLE process) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return std::nullopt;
  const TUniqueHandle owned(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  if (size == 0 || !GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size))
    return std::nullopt;
  const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
  const UCHAR parts = *GetSidSubAuthorityCount(sid);
  if (parts == 0) return std::nullopt;
  return *GetSidSubAuthority(sid, parts - 1);
}

// Whether the system keeps this program's input from the process: it runs at a higher
// integrity level, as a program started as administrator does, or cannot be looked at.
bool RunsAboveUs(DWORD processId) {
  const TUniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  const auto theirs =
      process.Valid() ? IntegrityLevelOf(process.Get()) : std::optional<DWORD>{};
  return TargetRunsAbove(theirs, IntegrityLevelOf(GetCurrentProcess()));
}

// The title as the window keeps it: read without a message to its program, which may hang.
std::wstring TitleOf(HWND window) {
  wchar_t title[512] = {};
  const int length = InternalGetWindowText(window, title, static_cast<int>(std::size(title)));
  return std::wstring(title, static_cast<std::size_t>(std::max(length, 0)));
}

std::wstring ProgramFileOf(DWORD processId) {
  const TUniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process.Valid()) return {};
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = static_cast<DWORD>(std::size(path));
  if (!QueryFullProcessImageNameW(process.Get(), 0, path, &size)) return {};
  const std::wstring full(path, size);
  const std::size_t slash = full.find_last_of(L"\\/");
  return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

// Looked at once the keys are on their way, so that the typing does not wait for it.
TCardTarget TargetOf(const TForegroundThread& foreground) {
  if (foreground.Window == nullptr) return {};
  return {TitleOf(foreground.Window), ProgramFileOf(foreground.Process)};
}

std::uint16_t ScanCodeOf(TCardSuffix suffix) {
  const auto key = SuffixKey(suffix);
  return key ? static_cast<std::uint16_t>(MapVirtualKeyW(*key, MAPVK_VK_TO_VSC)) : 0;
}

// Posted, not sent: a busy target must not stall the reader. The first refused post ends
// the number there, so that what did arrive is the start of it.
TDelivery PostToCaretWindow(HWND caret, const std::wstring& text, TCardSuffix suffix) {
  const auto scanCode = static_cast<std::uint8_t>(ScanCodeOf(suffix));
  const std::vector<TPostedMessage> messages = CaretWindowMessages(text, suffix, scanCode);
  TDelivery delivery{.Asked = messages.size()};
  for (const TPostedMessage& message : messages) {
    const auto lParam = static_cast<LPARAM>(message.LParam);
    if (!PostMessageW(caret, message.Message, message.WParam, lParam)) {
      delivery.Error = GetLastError();
      break;
    }
    ++delivery.Taken;
  }
  return delivery;
}

// One call for the whole number, so the operator's own typing cannot fall in between.
TDelivery SendToFocusedWindow(DWORD process, const std::wstring& text, TCardSuffix suffix) {
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
  TDelivery delivery{.Asked = inputs.size(), .TargetAbove = RunsAboveUs(process)};
  if (delivery.TargetAbove) return delivery;
  SetLastError(ERROR_SUCCESS);
  delivery.Taken = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (delivery.Taken < delivery.Asked) delivery.Error = GetLastError();
  return delivery;
}
}  // namespace

TCardOutcome TypeCardCode(CardCode code) {
  const TOutputSettings output = OutputSettingsNow();
  const std::uint8_t readerType = ReaderTypeNow();
  const TForegroundThread foreground = LookAtForeground();
  const TTypingRoute route = TypingRouteOf(foreground.Facts, output.NoCaretTyping);
  TNotTyped reason = TNotTyped::None;
  if (route == TTypingRoute::Nowhere) {
    reason = NowhereReason(foreground.Facts, output.NoCaretTyping);
  } else {
    const std::wstring text = CardCodeText(code, output.Format, readerType);
    reason = NotTypedOf(route == TTypingRoute::CaretWindow
                            ? PostToCaretWindow(foreground.Caret, text, output.Suffix)
                            : SendToFocusedWindow(foreground.Process, text, output.Suffix));
  }
  return {{code, output.Format, readerType, reason}, TargetOf(foreground)};
}
