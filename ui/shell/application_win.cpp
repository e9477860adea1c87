#include "ui/shell/application_win.h"

#include <utility>
#include <vector>

#include "services/help_bridge_win.h"
#include "services/trint.h"
#include "services/trint_win.h"
#include "ui/shell/exception_text.h"
#include "ui/shell/queue_wait_win.h"
#include "ui/shell/window_error_report_win.h"

TApplication Application;

namespace {

// The title and the program's windows as the hook's screen pass sees them.
class TApplicationScreen : public TTranslatableScreen {
 public:
  TApplicationScreen(TApplication& application, HWND hidden) : Application_(application) {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
      if (window != hidden) Forms_.emplace_back(window);
    }
  }
  std::wstring Title() override { return Application_.Title(); }
  void SetTitle(const std::wstring& title) override { Application_.SetTitle(title); }
  std::size_t FormCount() override { return Forms_.size(); }
  TTranslatableForm& Form(std::size_t index) override { return Forms_.at(index); }

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
  }
  TApplication& Application_;
  std::vector<TWindowForm> Forms_;
};

}  // namespace

void TApplication::DescribeClass(WNDCLASSEXW& windowClass) {
  windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
}

void TApplication::Initialize() {
  if (Existing() != nullptr) return;
  // Hidden and sized to nothing: it owns the dialogs and carries the task-bar button.
  CreateHandle({.Caption = Title_.c_str(),
                .Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX});
}

HWND TApplication::Handle() {
  Initialize();
  return Existing();
}

void TApplication::SetIcon(HICON big, HICON small) {
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void TApplication::SetTitle(const std::wstring& title) {
  Title_ = title;
  if (Existing() != nullptr) SetWindowTextW(Existing(), Title_.c_str());
}

LRESULT TApplication::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = Existing();
  switch (message) {
    case WM_SYSCOMMAND:
      // The task-bar button's own minimise and restore act on the whole program.
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
          Minimize();
          return 0;
        case SC_RESTORE:
          Restore();
          return 0;
      }
      break;
    case WM_ACTIVATE:
      // Activating the task-bar button activates the window the program last worked in.
      if (LOWORD(wParam) != WA_INACTIVE) {
        const HWND popup = GetLastActivePopup(window);
        if (popup != window && IsWindowVisible(popup) && IsWindowEnabled(popup)) {
          SetActiveWindow(popup);
          return 0;
        }
      }
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

void TApplication::ShowTaskbarWindow() {
  const HWND window = Handle();
  SetWindowPos(window, nullptr, GetSystemMetrics(SM_CXSCREEN) / 2,
               GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOWNA);
}

void TApplication::Minimize() {
  if (Minimized()) return;
  const HWND window = Handle();
  // Hiding the windows moves the activation to the application window itself, so the
  // window worked in is taken now, for the restore.
  WorkedIn_ = GetLastActivePopup(window);
  ShowOwnedPopups(window, FALSE);
  ShowWindow(window, SW_MINIMIZE);
  if (OnMinimize) OnMinimize();
}

void TApplication::Restore() {
  if (!Minimized()) return;
  const HWND window = Handle();
  ShowWindow(window, SW_RESTORE);
  ShowOwnedPopups(window, TRUE);
  // Restoring activated this window while its popups were still hidden, which made it its
  // own last active popup; the window worked in before comes back instead.
  const HWND workedIn = std::exchange(WorkedIn_, nullptr);
  if (workedIn != window && IsWindow(workedIn) && IsWindowVisible(workedIn) &&
      IsWindowEnabled(workedIn))
    SetActiveWindow(workedIn);
  if (OnRestore) OnRestore();
}

bool TApplication::Minimized() const { return Existing() != nullptr && IsIconic(Existing()); }

int TApplication::Run() {
  MSG msg;
  while (WaitForMessage(msg) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void TApplication::ShowException(const std::wstring& text) {
  const std::wstring shown = ExceptionReportText(text);
  const HWND active = GetActiveWindow();
  MessageBoxW(active != nullptr ? active : Handle(), shown.c_str(), Title_.c_str(),
              MB_OK | MB_ICONSTOP);
}

void TApplication::ShowException(const std::exception& error) {
  ShowException(WideFromUtf8(error.what()));
}

void TApplication::HelpRequest(std::int32_t context) { ShowHelpContext(context); }

int TApplication::TranslateAllForms(bool finish) {
  if (!ProviderBound()) return TranslateUnbound;
  TApplicationScreen screen(*this, Handle());
  return ::TranslateAllForms(screen, finish);
}
