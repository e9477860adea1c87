// A top-level window of the test process for a reader to type into, in front, recording
// every key and character message its thread takes from the queue. With a caret it stands
// for an ordinary text field that answers nothing itself; without one for a program that
// draws its own caret: the focus sits on a button and no window shows a caret.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TTypingTargetWindow {
 public:
  enum class TCaret { Shown, None };

  struct TKeyMessage {
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
    bool operator==(const TKeyMessage&) const = default;
  };

  explicit TTypingTargetWindow(TCaret caret) : Caret_(caret) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &TTypingTargetWindow::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LintavoTypingTargetWindow";
    RegisterClassW(&windowClass);
    Window_ = CreateWindowExW(0, windowClass.lpszClassName, L"Typing target", WS_OVERLAPPEDWINDOW,
                              100, 100, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrW(Window_, GWLP_USERDATA, caret == TCaret::Shown);
    if (caret == TCaret::None) {
      Focus_ = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10,
                               80, 30, Window_, nullptr, windowClass.hInstance, nullptr);
    } else {
      Focus_ = Window_;
    }
    ShowWindow(Window_, SW_SHOW);
  }
  ~TTypingTargetWindow() { DestroyWindow(Window_); }
  TTypingTargetWindow(const TTypingTargetWindow&) = delete;
  TTypingTargetWindow& operator=(const TTypingTargetWindow&) = delete;

  HWND Window() const { return Window_; }
  HWND Focus() const { return Focus_; }

  // Brings the window to the front and waits until the focus and the caret are where they
  // belong, as the platform tells any thread that asks.
  bool Ready() {
    const DWORD thread = GetWindowThreadProcessId(Window_, nullptr);
    const HWND caret = Caret_ == TCaret::Shown ? Window_ : nullptr;
    return PumpUntil(
        [&] {
          if (GetForegroundWindow() != Window_) SetForegroundWindow(Window_);
          if (GetFocus() != Focus_) SetFocus(Focus_);
          GUITHREADINFO info{};
          info.cbSize = sizeof(info);
          return GetForegroundWindow() == Window_ && GetGUIThreadInfo(thread, &info) &&
                 info.hwndFocus == Focus_ && info.hwndCaret == caret;
        },
        5000);
  }

  // Runs this thread's messages as a program's loop does, translating the keys, until done()
  // or the time is up.
  template <typename Predicate>
  bool PumpUntil(Predicate done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
      Pump();
      if (done()) return true;
      if (GetTickCount() - start > timeoutMs) return false;
      Sleep(10);
    }
  }
  void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
  }
  // Runs what is waiting now.
  TTypingTargetWindow& Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR)
        Received_.push_back({msg.message, msg.wParam, msg.lParam});
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    return *this;
  }

  const std::vector<TKeyMessage>& Received() const { return Received_; }
  // The characters received, in order.
  std::wstring Characters() const {
    std::wstring text;
    for (const TKeyMessage& m : Received_) {
      if (m.Message == WM_CHAR) text.push_back(static_cast<wchar_t>(m.WParam));
    }
    return text;
  }
  void Forget() { Received_.clear(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_SETFOCUS:
        if (GetWindowLongPtrW(window, GWLP_USERDATA) == 0) break;
        CreateCaret(window, nullptr, 1, 16);
        ShowCaret(window);
        return 0;
      case WM_KILLFOCUS:
        if (GetWindowLongPtrW(window, GWLP_USERDATA) == 0) break;
        DestroyCaret();
        return 0;
      default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  TCaret Caret_;
  HWND Window_ = nullptr;
  HWND Focus_ = nullptr;
  std::vector<TKeyMessage> Received_;
};
