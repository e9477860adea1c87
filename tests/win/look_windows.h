// What the look tests share: the font a window shows, and the main window built in the test
// program as the program builds it, hidden.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "ui/main_window/main_window_win.h"
#include "ui/shell/application_win.h"

// The font the window shows (WM_GETFONT), or none when it shows the system's.
inline std::optional<LOGFONTW> FontOf(HWND window) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  LOGFONTW logFont{};
  if (font == nullptr || GetObjectW(font, sizeof logFont, &logFont) == 0) return std::nullopt;
  return logFont;
}

inline std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

// The main window with its port failed, never shown, so it neither starts a reader nor
// saves a placement.
class TMainWindowInProcess {
 public:
  TMainWindowInProcess() : Form_(TLintavoForm::Create(Application.Handle())) {}
  // Its destruction posts the quit message a real run ends with; later tests here pump on.
  ~TMainWindowInProcess() {
    Form_.reset();
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  TMainWindowInProcess(const TMainWindowInProcess&) = delete;
  TMainWindowInProcess& operator=(const TMainWindowInProcess&) = delete;
  HWND Handle() const { return Form_->Handle(); }

 private:
  std::unique_ptr<TLintavoForm> Form_;
};
