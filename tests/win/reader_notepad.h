// Wine's notepad as the other program the reader types into: found by its process, read
// and cleared through its edit control, and killed however the test or benchmark ended.
#pragma once

#include <windows.h>

#include <string>

#include "tests/win/reader_child_process.h"

// Polls done every 20 ms; false when it is still not true after timeoutMs.
template <typename Predicate>
bool WaitUntil(Predicate done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

// Brings a top-level window of another program to the front and waits until the platform
// shows the caret in `caret`: only then does a card typed go there. X delivers focus changes
// late, so an activation still on its way can take the front back; it is taken again.
inline bool BringForwardWithCaretIn(HWND top, HWND caret) {
  const DWORD thread = GetWindowThreadProcessId(top, nullptr);
  return WaitUntil(
      [&] {
        if (GetForegroundWindow() != top) SetForegroundWindow(top);
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetForegroundWindow() == top && GetGUIThreadInfo(thread, &info) &&
               info.hwndCaret == caret;
      },
      5000);
}

// Wine's notepad in its own process; the process ends with the object.
class TNotepad {
 public:
  TNotepad() : Process_(L"notepad.exe") {
    if (!Process_.Started()) return;
    WaitForInputIdle(Process_.Handle(), 10'000);
    WaitUntil([this] { return (Main_ = FindMain()) != nullptr; }, 10'000);
    if (Main_ != nullptr) Edit_ = FindWindowExW(Main_, nullptr, L"Edit", nullptr);
  }

  HWND Main() const { return Main_; }
  HWND Edit() const { return Edit_; }

  std::wstring Text() const {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(Edit_, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(Edit_, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(copied);
    return text;
  }

  void Clear() const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(Edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG,
                        2000, &ignored);
  }

  // Brings notepad to the front and waits until its edit control shows the caret.
  bool Focus() const { return BringForwardWithCaretIn(Main_, Edit_); }

 private:
  struct TSearch {
    DWORD ProcessId;
    HWND Found;
  };

  static BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->ProcessId || !IsWindowVisible(window)) return TRUE;
    search->Found = window;
    return FALSE;
  }

  HWND FindMain() const {
    TSearch search{Process_.ProcessId(), nullptr};
    EnumWindows(&TNotepad::MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
  }

  TChildProcess Process_;
  HWND Main_ = nullptr;
  HWND Edit_ = nullptr;
};
