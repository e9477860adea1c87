// The application object: the program's title, the hidden top-level window that owns the
// program's dialogs, the GUI message loop, the standard error report and the help request.
// GUI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "ui/shell/texts.h"
#include "ui/shell/window_win.h"

class TApplication : public TWindow<TApplication> {
 public:
  static constexpr const wchar_t* kClassName = L"TApplication";

  // Creates the hidden window; later calls do nothing.
  void Initialize();
  // The hidden owner window, created on first use.
  HWND Handle();
  // The handle without creating the window.
  HWND Existing() const { return TWindow::Handle(); }

  const std::wstring& Title() const { return Title_; }
  void SetTitle(const std::wstring& title);
  // The icons the task-bar button and Alt+Tab show: each at its own size, so neither is
  // stretched from the other.
  void SetIcon(HICON big, HICON small);

  // The application window carries the program's task-bar button; the main window, which
  // it owns, has none of its own.
  void ShowTaskbarWindow();

  // Minimising and restoring the whole program: the windows it owns hide and come back with
  // it, and the notices follow (minimised only when it was not, restored only when it was).
  void Minimize();
  void Restore();
  bool Minimized() const;
  std::function<void()> OnMinimize;
  std::function<void()> OnRestore;

  // Runs the GUI message loop until the quit message and returns its exit code.
  int Run();
  // Handles what waits in the queue now; a quit message found there is kept for Run.
  void ProcessMessages();

  // The standard error report: a stop-icon box captioned with the title.
  void ShowException(const std::wstring& text);
  void ShowException(const std::exception& error);

  // A help button asks here for the help on its context.
  void HelpRequest(std::int32_t context);

  // Offers the title and all of the program's top-level windows to the localization hook.
  int TranslateAllForms(bool finish);

 private:
  friend class TWindow<TApplication>;
  static void DescribeClass(WNDCLASSEXW& windowClass);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // An error in the application window's own handlers has no other report to go to.
  void ReportError(const std::wstring& text) { ShowException(text); }

  std::wstring Title_ = kApplicationTitle;
  HWND WorkedIn_ = nullptr;  // the window active when the program was minimised
};

extern TApplication Application;
