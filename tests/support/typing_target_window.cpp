#include "tests/support/typing_target_window.h"

#include "tests/support/message_pump.h"
#include "tests/support/top_level_windows.h"

namespace {

constexpr wchar_t kClassName[] = L"LintavoTypingTargetWindow";

}  // namespace

TTypingTargetWindow::TTypingTargetWindow(TCaret caret) : Caret_(caret) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &TTypingTargetWindow::WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass);
  Window_.Reset(CreateWindowExW(0, kClassName, L"Typing target", WS_OVERLAPPEDWINDOW, 100, 100,
                                300, 200, nullptr, nullptr, windowClass.hInstance, nullptr));
  SetWindowLongPtrW(Window(), GWLP_USERDATA, caret == TCaret::Shown);
  Focus_ = caret == TCaret::None
               ? CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10,
                                 10, 80, 30, Window(), nullptr, windowClass.hInstance, nullptr)
               : Window();
  ShowWindow(Window(), SW_SHOW);
}

bool TTypingTargetWindow::Ready() {
  const HWND caret = Caret_ == TCaret::Shown ? Window() : nullptr;
  SetForegroundWindow(Window());
  SetFocus(Focus_);
  return PumpUntil(
      [&] {
        const GUITHREADINFO info = GuiThreadOf(Window());
        return GetForegroundWindow() == Window() && info.hwndFocus == Focus_ &&
               info.hwndCaret == caret;
      },
      5000, [this](const MSG& msg) { Note(msg); });
}

void TTypingTargetWindow::PumpFor(DWORD ms) {
  ::PumpFor(ms, [this](const MSG& msg) { Note(msg); });
}

void TTypingTargetWindow::Note(const MSG& msg) {
  if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR)
    Received_.push_back({msg.message, msg.wParam, msg.lParam});
}

std::wstring TTypingTargetWindow::Characters() const {
  std::wstring text;
  for (const TKeyMessage& m : Received_) {
    if (m.Message == WM_CHAR) text.push_back(static_cast<wchar_t>(m.WParam));
  }
  return text;
}

// The caret follows the focus, as an edit control's does.
LRESULT CALLBACK TTypingTargetWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
  const bool withCaret = GetWindowLongPtrW(window, GWLP_USERDATA) != 0;
  if (message == WM_SETFOCUS && withCaret) {
    CreateCaret(window, nullptr, 1, 16);
    ShowCaret(window);
    return 0;
  }
  if (message == WM_KILLFOCUS && withCaret) {
    DestroyCaret();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
