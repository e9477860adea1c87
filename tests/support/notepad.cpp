#include "tests/support/notepad.h"

#include <vector>

#include "tests/support/front_window.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"

namespace {

// Another process may be busy; a question to it gives up rather than hang the test.
DWORD_PTR Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &answer);
  return answer;
}

}  // namespace

TNotepad::TNotepad() : Process_(L"notepad.exe") {
  if (!Process_.Started()) return;
  WaitUntil(
      [this] {
        const std::vector<HWND> shown = TopLevelWindowsOfProcess(Process_.ProcessId());
        Main_ = shown.empty() ? nullptr : shown.front();
        return Main_ != nullptr;
      },
      10'000);
  if (Main_ == nullptr) return;
  Edit_ = FindWindowExW(Main_, nullptr, L"Edit", nullptr);
  // Notepad activates its window as it starts, a moment after the window shows; a front
  // asked for before that would be taken back.
  WaitForFront(Main_, 10'000);
}

std::size_t TNotepad::TextLength() const { return Ask(Edit_, WM_GETTEXTLENGTH, 0, 0); }

std::wstring TNotepad::Text() const {
  std::wstring text(TextLength() + 1, L'\0');
  text.resize(Ask(Edit_, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  return text;
}

void TNotepad::Clear() const { Ask(Edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"")); }

bool TNotepad::Focus() const { return BringToFront(Main_, Edit_); }
