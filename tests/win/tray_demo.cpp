// A stand-in main window that carries the notification-area components the way the program
// does: the icon with its state images, the drawn menu with its band and pictures, and the
// task-bar button leaving while minimised. Driven from outside by the tray tests, and run
// by hand to look at.
//   tray_demo.exe LOGFILE [red] [throw]
// red starts with the port failed; throw makes "Помощь" raise an error. Each event goes to
// LOGFILE as one UTF-8 line.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/common.h"
#include "tests/win/tray_demo_protocol.h"
#include "ui/tray/app_events_win.h"
#include "ui/shell/application_win.h"
#include "ui/tray/drawn_menu_win.h"
#include "ui/tray/pic_clip_win.h"
#include "ui/shell/texts.h"
#include "ui/tray/tray_icon_win.h"
#include "ui/tray/tray_menu_win.h"
#include "ui/tray/tray_pictures_ids.h"

namespace {

constexpr int kYesButton = IDYES;
constexpr int kNoButton = IDNO;

std::wstring LogPath;

void Log(const std::wstring& line) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), size, nullptr, nullptr);
  utf8.back() = '\n';
  if (FILE* file = _wfopen(LogPath.c_str(), L"ab")) {
    fwrite(utf8.data(), 1, utf8.size(), file);
    fclose(file);
  }
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

HWND CreateSimpleWindow(const wchar_t* className, WNDPROC procedure, const wchar_t* caption,
                        DWORD style, int x, int y, int width, int height, HWND owner) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExW(Instance(), className, &windowClass)) {
    windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = Instance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
  }
  return CreateWindowExW(0, className, caption, style, x, y, width, height, owner, nullptr,
                         Instance(), nullptr);
}

class TDemo {
 public:
  TDemo(bool portFailed, bool throwInHelp);
  ~TDemo() { Log(L"removed"); }

  void SetPortFailed(int portFailed);
  void Minimize();
  void Restore();

  HWND Main = nullptr;

 private:
  static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK QuestionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void PopupShowServerClick();
  void PopupSetupClick();
  void PopupHelpClick();
  void PopupExitClick();

  bool ThrowInHelp_;
  HWND Setup_ = nullptr;
  TErrorReport Report_ = [](const std::wstring& text) {
    Log(L"report " + text);
    Application.ShowException(text);
  };
  TDrawnPopupMenu TrayMenu1_{NewStyleShell, Report_};
  TPicClip PicClip1_{TUniqueBitmap(static_cast<HBITMAP>(LoadImageW(
                         Instance(), MAKEINTRESOURCEW(IDB_TRAY_MENU_STRIP), IMAGE_BITMAP, 0, 0,
                         LR_CREATEDIBSECTION))),
                     kTrayStripCols, kTrayStripRows};
  std::unique_ptr<TTrayIcon> TrayIcon1_;
  TAppEvents AppEvents1_;
};

TDemo* Demo = nullptr;

TDemo::TDemo(bool portFailed, bool throwInHelp) : ThrowInHelp_(throwInHelp) {
  Main = CreateSimpleWindow(kTrayDemoClass, MainProc, L"Tray demo",
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 279, 117,
                            341, 200, Application.Handle());
  TrayIcon1_ = std::make_unique<TTrayIcon>(kApplicationTitle, Main, Report_);
  FillTrayMenu(TrayMenu1_, {[this] { PopupShowServerClick(); }, [this] { PopupSetupClick(); },
                            [this] { PopupHelpClick(); }, [this] { PopupExitClick(); }});
  TrayMenu1_.OnGetItemParams = [this](const TDrawnMenuItem& item, UINT, TItemParams& params) {
    TrayMenuItemParams(PicClip1_, item, params);
  };
  TrayMenu1_.OnDrawMargin = [](HDC dc, const RECT& margin) {
    DrawTrayMenuBand(dc, margin, NewStyleShell);
  };
  TrayIcon1_->SetPopupMenu(&TrayMenu1_);
  LoadTrayPictures(*TrayIcon1_, Instance());
  AppEvents1_.OnMinimize = [] { HideTaskbarButton(Application.Handle(), NewStyleShell); };
  AppEvents1_.OnRestore = [] { ShowTaskbarButton(Application.Handle(), NewStyleShell); };
  TrayIcon1_->Loaded();
  Log(L"added " + std::to_wstring(TrayIcon1_->IconAdded()));
  SetPortFailed(portFailed ? 1 : 0);
  ShowWindow(Application.Handle(), SW_SHOW);
  ShowWindow(Main, SW_SHOW);
}

void TDemo::SetPortFailed(int portFailed) {
  ShowTrayState(*TrayIcon1_, portFailed);
  Log(portFailed ? L"state red" : L"state green");
}

// The application's minimise and restore, raising their notices only on a real change.
void TDemo::Minimize() {
  if (IsIconic(Application.Handle())) return;
  ShowWindow(Application.Handle(), SW_MINIMIZE);
  ShowWindow(Main, SW_HIDE);
  AppEvents1_.Minimized();
  Log(L"minimized");
}

void TDemo::Restore() {
  if (!IsIconic(Application.Handle())) return;
  ShowWindow(Application.Handle(), SW_RESTORE);
  ShowWindow(Main, SW_SHOW);
  AppEvents1_.Restored();
  Log(L"restored");
}

void TDemo::PopupShowServerClick() {
  Restore();
  BringLastActivePopupForward(Application.Handle());
  Log(L"show");
}

void TDemo::PopupSetupClick() {
  if (Setup_ != nullptr && IsWindow(Setup_)) {
    SetFocus(Setup_);
    Log(L"setup focused");
    return;
  }
  Setup_ = CreateSimpleWindow(L"TSetupFormDemo", DefWindowProcW, kSetupCaption,
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 320, 160, 300,
                              200, Application.Handle());
  Log(L"setup opened");
}

void TDemo::PopupHelpClick() {
  if (ThrowInHelp_) throw std::runtime_error("Сбой в команде");
  Log(L"help");
}

void TDemo::PopupExitClick() {
  if (const HWND open = FindWindowW(kExitQuestionClass, kCaptionExit)) {
    BringWindowToTop(open);
    Log(L"exit forward");
    return;
  }
  const HWND question = CreateSimpleWindow(kExitQuestionClass, QuestionProc, kCaptionExit,
                                           WS_POPUP | WS_CAPTION | WS_VISIBLE, 350, 250, 260, 110,
                                           Main);
  CreateWindowExW(0, L"BUTTON", kButtonYes, WS_CHILD | WS_VISIBLE, 40, 40, 75, 25, question,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kYesButton)), Instance(), nullptr);
  CreateWindowExW(0, L"BUTTON", kButtonNo, WS_CHILD | WS_VISIBLE, 140, 40, 75, 25, question,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNoButton)), Instance(), nullptr);
  Log(L"exit asked");
}

LRESULT CALLBACK TDemo::QuestionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kYesButton) {
    DestroyWindow(window);
    DestroyWindow(Demo->Main);
    return 0;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == kNoButton) {
    DestroyWindow(window);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK TDemo::MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kTrayDemoSetPortFailed:
      Demo->SetPortFailed(static_cast<int>(wParam));
      return 0;
    case kTrayDemoMinimize:
      Demo->Minimize();
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        Demo->Minimize();
        return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count < 2) return 2;
  LogPath = args[1];
  bool red = false, throwInHelp = false;
  for (int i = 2; i < count; ++i) {
    red = red || std::wstring(args[i]) == L"red";
    throwInHelp = throwInHelp || std::wstring(args[i]) == L"throw";
  }
  LocalFree(args);
  NewStyleShell = (GetVersion() & 0xFF) >= 4;
  int result = 0;
  {
    TDemo demo(red, throwInHelp);
    Demo = &demo;
    result = Application.Run();
    Demo = nullptr;
  }
  return result;
}
