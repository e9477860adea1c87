#include "ui/main_window/main_window_win.h"

#include <algorithm>
#include <cwchar>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/settings.h"
#include "core/single_copy_win.h"
#include "core/unsaved_note_win.h"
#include "reader/dev_th_win.h"
#include "reader/uart.h"
#include "services/about_bridge_win.h"
#include "services/help_bridge_win.h"
#include "ui/dialogs/message_dialog_win.h"
#include "ui/main_window/main_status.h"
#include "ui/main_window/resource_ids.h"
#include "ui/main_window/toolbar_look.h"
#include "ui/setup/setup_form_win.h"
#include "ui/shell/application_win.h"
#include "ui/shell/designed_font_win.h"
#include "ui/shell/texts.h"
#include "ui/tray/icon_list_win.h"
#include "ui/tray/tray_menu_win.h"
#include "ui/tray/tray_pictures_ids.h"

TLintavoForm* LintavoForm = nullptr;

namespace {

// Handled after the activation that posted it has finished.
constexpr UINT kFirstActivateMessage = WM_APP + 1;

// The outer rectangle at 96 DPI; also the smallest size the window can be made.
constexpr TDesignedRect kDesignedPlace{279, 117, 341, 200};
constexpr int kHelpContextMainWindow = 20;
constexpr int kLabelSlack = 2;

struct LabelPlace {
  int Left;
  int Top;  // inside the panel below the toolbar
};
// Label1, Label2, ReaderTypeLabel and ComPortLabel, at 96 DPI.
constexpr LabelPlace kLabelPlaces[] = {{48, 40}, {7, 64}, {150, 40}, {150, 64}};
// The notice line: two lines of text under the port line, across the window.
constexpr LabelPlace kNoticePlace{7, 84};
constexpr int kNoticeLines = 2;
constexpr int kNoticeMargin = 7;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void Report(const std::wstring& text) { Application.ShowException(text); }

TUniqueBitmap LoadPicture(int id) {
  return TUniqueBitmap(static_cast<HBITMAP>(
      LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

struct TWindowSearch {
  const wchar_t* ClassName;
  const wchar_t* Caption;
  HWND Found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<TWindowSearch*>(param);
  wchar_t text[256] = {};
  GetClassNameW(window, text, 256);
  if (std::wcscmp(text, search.ClassName) != 0) return TRUE;
  GetWindowTextW(window, text, 256);
  if (std::wcscmp(text, search.Caption) != 0) return TRUE;
  search.Found = window;
  return FALSE;
}

// A top-level window of this thread with the class and caption given, or none.
HWND FindThreadWindow(const wchar_t* className, const wchar_t* caption) {
  TWindowSearch search{className, caption};
  EnumThreadWindows(GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// Labels size themselves to their text, as the designed form's labels do.
void SetLabelText(HWND label, const std::wstring& text) {
  SetWindowTextW(label, text.c_str());
  RECT bounds{};
  {
    TScreenDc dc;
    TSelectObjectScope font(dc.Get(),
                            reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    DrawTextW(dc.Get(), text.c_str(), -1, &bounds, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  }
  // A pixel or two beyond the measured width keeps the last glyph's overhang in view.
  SetWindowPos(label, nullptr, 0, 0, bounds.right + kLabelSlack, bounds.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(label, nullptr, TRUE);
}

// An edit breaks its lines only at a carriage return and line feed.
std::wstring EditLineBreaks(const std::wstring& text) {
  std::wstring edit;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) edit += L'\r';
    edit += text[i];
  }
  return edit;
}

}  // namespace

void TLintavoForm::DescribeClass(WNDCLASSEXW& windowClass) {
  windowClass.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(IDI_TRAY_DEVICE));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_TRAY_DEVICE), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
}

std::unique_ptr<TLintavoForm> TLintavoForm::Create(HWND owner) {
  std::unique_ptr<TLintavoForm> form(new TLintavoForm());
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME |
                      WS_CLIPCHILDREN;
  // Made at the DPI of the screen under the designed place, which is not the system's when
  // a laptop was docked after logon; a stored place on another screen changes it on show.
  const TDesignedRect atSystemDpi = ScaleRectToDpi(kDesignedPlace, SystemDpi());
  form->Dpi_ = DpiAtPoint({atSystemDpi.Left, atSystemDpi.Top});
  const TDesignedRect place = ScaleRectToDpi(kDesignedPlace, form->Dpi_);
  if (!form->CreateHandle({.Caption = kApplicationTitle,
                           .Style = style,
                           .Left = place.Left,
                           .Top = place.Top,
                           .Width = place.Width,
                           .Height = place.Height,
                           .Parent = owner}))
    throw std::runtime_error("Cannot create the main window");
  return form;
}

TLintavoForm::~TLintavoForm() {
  if (LintavoForm == this) LintavoForm = nullptr;
  // The reader hands every card to the journal's sink, which goes with this window; the exit
  // has stopped it already, a start-up that failed may not have.
  ReaderThread.Stop();
  // The window goes while the fonts and components it shows are still here.
  DestroyHandle();
}

void TLintavoForm::Show() {
  // Restored while still hidden, so the window comes up directly at its stored place.
  FormPlacement1->OnShow();
  ShowWindow(Handle(), SW_SHOWNORMAL);
  UpdateWindow(Handle());
}

LRESULT TLintavoForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == ShowRunningCopyMessage() && message != 0) {
    PopupShowServerClick();
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      BuildComponents();
      OnCreate();
      return 0;
    case WM_ACTIVATE:
      OnActivate(wParam);
      break;
    case kFirstActivateMessage:
      OnFirstActivate();
      return 0;
    case kReaderEndedMessage:
      OnReaderEnded(wParam);
      return 0;
    case kPortOpenedMessage:
      OnPortOpened(wParam);
      return 0;
    case WM_TIMER:
      if (wParam != kLineTimerId) break;
      OnLineTimer();
      return 0;
    case WM_DEVICECHANGE:
      OnDeviceChange(wParam, lParam);
      return TRUE;
    case WM_POWERBROADCAST:
      OnPowerBroadcast(wParam);
      return TRUE;
    case kCardJournalledMessage:
      OnCardJournalled(wParam);
      return 0;
    case kJournalWriteFailedMessage:
      OnJournalWriteFailed();
      return 0;
    case kOpenJournalMessage:
      ShowJournal(wParam);
      return 0;
    case WM_PARENTNOTIFY:
      OnParentNotify(wParam, lParam);
      return 0;
    case WM_QUERYENDSESSION:
      // The session may end whenever Windows wants: nothing here asks the operator first.
      return TRUE;
    case WM_ENDSESSION:
      if (wParam != FALSE) OnEndSession();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(DpiChangeOf(wParam, lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SYSCOMMAND:
      // Minimising the main window minimises the whole program.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        Application.Minimize();
        return 0;
      }
      break;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

// The components the window owns, built before its own creation handler runs.
void TLintavoForm::BuildComponents() {
  LintavoForm = this;
  FormPlacement1.emplace(Handle(), Report);
  PortOpener_.emplace(Handle(), kPortOpenedMessage);
  Dpi_ = WindowDpi(Handle());
  Font_ = CreateDesignedFont(kDesignedFontPoints, Dpi_);
  SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font_.Get()), FALSE);
  CreateToolBar();
  CreateLabels();
  BuildTrayComponents();
  ShowSmallIcon();
  BuildJournal();
}

void TLintavoForm::BuildTrayComponents() {
  TrayMenu1.emplace(NewStyleShell, Report);
  FillTrayMenu(*TrayMenu1, {[this] { PopupShowServerClick(); }, [this] { PopupSetupClick(); },
                            [this] { ShowJournal(); }, [] { ShowHelpContents(); },
                            [this] { ExitRequest(); }});
  PicClip1.emplace(TUniqueBitmap(LoadPicture(IDB_TRAY_MENU_STRIP)), kTrayStripCols,
                   kTrayStripRows);
  TrayMenu1->OnGetItemParams = [this](const TDrawnMenuItem& item, UINT, TItemParams& params) {
    TrayMenuItemParams(*PicClip1, item, params, TrayMenu1->Dpi());
  };
  TrayMenu1->OnDrawMargin = [this](HDC dc, const RECT& margin) {
    DrawTrayMenuBand(dc, margin, NewStyleShell, TrayMenu1->Dpi());
  };
  TrayIcon1.emplace(kApplicationTitle, Handle(), Report);
  TrayIcon1->SetPopupMenu(&*TrayMenu1);
  TrayIcon1->OnBalloonClick = [this](std::uint64_t serial) { ShowJournal(serial); };
  LoadTrayPictures(*TrayIcon1, Instance());
  TrayIcon1->Loaded();

  AppEvents1.OnMinimize = [this] { OnMinimize(); };
  AppEvents1.OnRestore = [this] {
    ShowTaskbarButton(Application.Handle(), NewStyleShell);
    OnOpened();
  };
  Application.OnMinimize = [this] { AppEvents1.Minimized(); };
  Application.OnRestore = [this] { AppEvents1.Restored(); };
}

void TLintavoForm::OnCreate() {
  // The language choice is never offered: the item stays disabled and out of the menu,
  // together with the separator that would then lead the menu.
  const HMENU fileMenu = GetSubMenu(GetMenu(Handle()), 0);
  EnableMenuItem(fileMenu, IDM_FILE_LANG, MF_BYCOMMAND | MF_GRAYED);
  DeleteMenu(fileMenu, IDM_FILE_LANG, MF_BYCOMMAND);
  DeleteMenu(fileMenu, 0, MF_BYPOSITION);

  FirstActivate = true;
  PortFailed = 0;
  FormPlacement1->IniFileName = SettingsFileName;
  Application.TranslateAllForms(false);
  CreateHelpObj(ExeDir + L"DOC");
  // The port answers by message; until then it shows as not open.
  PortStateValue = PortClosed;
  PortFailed = PortFailedOf(PortStateValue);
  LineWatch_.Reopening();
  PortOpener_->Open(std::move(Uart), Settings.PortNumber);
  UpdateTrayIcon();
  UpdateStatus();
  AllowRunningCopyNotice();
  if (const auto reason = TakeUnsavedNote(SettingsFileName))
    ShowNotice(std::wstring(kSettingsNotSaved) + L"\n" + *reason);
}

void TLintavoForm::CreateToolBar() {
  HelpPopupMenu_.Reset(LoadMenuW(Instance(), MAKEINTRESOURCEW(IDR_HELP_POPUP)));
  RECT outer{};
  GetWindowRect(Handle(), &outer);
  const int width = outer.right - outer.left;
  std::vector<TToolButtonInfo> buttons;
  buttons.push_back({IDM_SETUP_VIEW, kSetupSpeedItemCaption, kSetupSpeedItemHint,
                     LoadPicture(IDB_GLYPH_SETUP), nullptr, ScaleToDpi(kSetupButtonLeft, Dpi_)});
  buttons.push_back({0, kHelpSpeedItemCaption, kHelpSpeedItemHint, LoadPicture(IDB_GLYPH_HELP),
                     GetSubMenu(HelpPopupMenu_.Get(), 0), HelpButtonLeft(width, Dpi_)});
  buttons.push_back({IDM_FILE_EXIT, kExitSpeedItemCaption, kExitSpeedItemHint,
                     LoadPicture(IDB_GLYPH_EXIT), nullptr, ExitButtonLeft(width, Dpi_)});
  ToolBar_ = TToolBar::Create(Handle(), Font_.Get(), LoadPicture(IDB_WALLPAPER), std::move(buttons),
                              Dpi_);
}

void TLintavoForm::CreateLabels() {
  const wchar_t* const texts[] = {kReaderTypeCaption, kComPortCaption, L"", L""};
  for (std::size_t i = 0; i < Labels_.size(); ++i) {
    Labels_[i] = CreateWindowExW(0, L"STATIC", texts[i],
                                 WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 0, 0,
                                 0, Handle(), nullptr, Instance(), nullptr);
  }
  ReaderTypeLabel_ = Labels_[2];
  ComPortLabel_ = Labels_[3];
  NoticeLine_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_MULTILINE | ES_READONLY, 0, 0, 0,
                                0, Handle(), nullptr, Instance(), nullptr);
  PlaceLabels();
}

// The labels at the window's DPI, each sized to its text in the font made for it.
void TLintavoForm::PlaceLabels() {
  const int panelTop = ToolBar_ != nullptr ? ToolBar_->Metrics().BarHeight : 0;
  for (std::size_t i = 0; i < Labels_.size(); ++i) {
    SendMessageW(Labels_[i], WM_SETFONT, reinterpret_cast<WPARAM>(Font_.Get()), FALSE);
    SetWindowPos(Labels_[i], nullptr, ScaleToDpi(kLabelPlaces[i].Left, Dpi_),
                 panelTop + ScaleToDpi(kLabelPlaces[i].Top, Dpi_), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetLabelText(Labels_[i], WindowText(Labels_[i]));
  }
  PlaceNoticeLine();
}

void TLintavoForm::PlaceNoticeLine() {
  if (NoticeLine_ == nullptr) return;
  SendMessageW(NoticeLine_, WM_SETFONT, reinterpret_cast<WPARAM>(Font_.Get()), FALSE);
  RECT client{};
  GetClientRect(Handle(), &client);
  const int panelTop = ToolBar_ != nullptr ? ToolBar_->Metrics().BarHeight : 0;
  TEXTMETRICW metrics{};
  {
    TScreenDc dc;
    TSelectObjectScope font(dc.Get(), Font_.Get());
    GetTextMetricsW(dc.Get(), &metrics);
  }
  const int left = ScaleToDpi(kNoticePlace.Left, Dpi_);
  SetWindowPos(NoticeLine_, nullptr, left, panelTop + ScaleToDpi(kNoticePlace.Top, Dpi_),
               std::max(0, static_cast<int>(client.right) - left - ScaleToDpi(kNoticeMargin, Dpi_)),
               kNoticeLines * metrics.tmHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLintavoForm::ShowNotice(const std::wstring& text) {
  SetWindowTextW(NoticeLine_, EditLineBreaks(text).c_str());
  ShowWindow(NoticeLine_, SW_SHOWNA);
  // At the designed size the panel has no room below the port line: the window grows by
  // what the line needs.
  RECT line{}, client{}, outer{};
  GetWindowRect(NoticeLine_, &line);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&line), 2);
  GetClientRect(Handle(), &client);
  const int missing = line.bottom + ScaleToDpi(kNoticeMargin, Dpi_) - client.bottom;
  if (missing <= 0) return;
  GetWindowRect(Handle(), &outer);
  SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + missing,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The title bar's icon at the size it has at the window's DPI; the one it replaces goes once
// the window no longer shows it.
void TLintavoForm::ShowSmallIcon() {
  const TUniqueIcon previous = std::exchange(
      SmallIcon_, LoadIconResource(Instance(), IDI_TRAY_DEVICE, MetricAtDpi(SM_CXSMICON, Dpi_),
                                   MetricAtDpi(SM_CYSMICON, Dpi_)));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(SmallIcon_.Get()));
}

// Dragged to a screen of another DPI: everything is laid out and drawn again for it, and
// the window takes the place the system suggests, which keeps it under the mouse.
void TLintavoForm::OnDpiChanged(const TDpiChange& change) {
  Dpi_ = change.Dpi;
  TUniqueFont previous = std::exchange(Font_, CreateDesignedFont(kDesignedFontPoints, Dpi_));
  SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font_.Get()), FALSE);
  ToolBar_->SetDpi(Dpi_, Font_.Get());
  PlaceLabels();
  ShowSmallIcon();
  const RECT& r = change.Suggested;
  SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLintavoForm::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) return;
  OnOpened();
  if (!FirstActivate) return;
  FirstActivate = false;
  PostMessageW(Handle(), kFirstActivateMessage, 0, 0);
}

void TLintavoForm::OnFirstActivate() {
  if (Settings.MinimizeOnRun) Application.Minimize();
  // With the port not open no reader runs until the port opens, by the line watch's
  // reopen or by the setup.
  if (PortStateValue == PortOpen) StartLineReader();
  StartLineWatch();
}

void TLintavoForm::OnCommand(int id) {
  switch (id) {
    case IDM_FILE_EXIT:
      ExitRequest();
      break;
    case IDM_SETUP_VIEW:
      RunSetupPage(1);
      break;
    case IDM_SETUP_READER:
      RunSetupPage(2);
      break;
    case IDM_SETUP_OUTPUT:
      RunSetupPage(3);
      break;
    case IDM_SETUP_JOURNAL:
      RunSetupPage(4);
      break;
    case IDM_FILE_JOURNAL:
      ShowJournal();
      break;
    case IDM_HELP_MAINWINDOW:
      ShowHelpContext(kHelpContextMainWindow);
      break;
    case IDM_HELP_CONTENTS:
      ShowHelpContents();
      break;
    case IDM_HELP_ABOUT:
      ShowAbout();
      break;
  }
}

void TLintavoForm::RunSetupPage(int page) {
  if (!RunSetup(page)) return;
  ConfigureJournal();
  // The new settings stay in use for this run either way; the operator must know they
  // will be lost at the next start.
  if (!SaveSettings()) Report(IniWriteError(SettingsFileName).Message());
}

void TLintavoForm::UpdateStatus() {
  const MainStatus status = DescribeStatus(Settings, PortStateValue);
  PortColour_ = status.PortColour;
  SetLabelText(ReaderTypeLabel_, status.ReaderType);
  SetLabelText(ComPortLabel_, status.Port);
}

void TLintavoForm::UpdateTrayIcon() { ShowTrayState(*TrayIcon1, PortFailed); }

void TLintavoForm::PopupShowServerClick() {
  Application.Restore();
  BringLastActivePopupForward(Application.Handle());
}

void TLintavoForm::PopupSetupClick() {
  if (SetupForm) {
    SetFocus(SetupForm->Handle());
    return;
  }
  RunSetupPage(1);
}

void TLintavoForm::OnSize() {
  if (ToolBar_ == nullptr) return;
  RECT outer{};
  GetWindowRect(Handle(), &outer);
  const int width = outer.right - outer.left;
  ToolBar_->FitToParent();
  ToolBar_->SetButtonLeft(0, ScaleToDpi(kSetupButtonLeft, Dpi_));
  ToolBar_->SetButtonLeft(1, HelpButtonLeft(width, Dpi_));
  ToolBar_->SetButtonLeft(2, ExitButtonLeft(width, Dpi_));
  PlaceNoticeLine();
}

void TLintavoForm::OnGetMinMaxInfo(MINMAXINFO& info) const {
  info.ptMinTrackSize = {ScaleToDpi(kDesignedPlace.Width, Dpi_),
                         ScaleToDpi(kDesignedPlace.Height, Dpi_)};
}

LRESULT TLintavoForm::OnControlColour(HDC dc, HWND control) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, control == ComPortLabel_   ? PortColour_
                   : control == NoticeLine_ ? kPortFailedColour
                                            : GetSysColor(COLOR_BTNTEXT));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool TLintavoForm::BringExitQuestionForward() {
  // Only this copy's own question counts: another copy's, or another program's window of
  // the same class and caption, must not keep this one from ending.
  const HWND question = FindThreadWindow(kMessageFormClass, kCaptionExit);
  if (question == nullptr) return false;
  SetForegroundWindow(question);
  BringWindowToTop(question);
  return true;
}

void TLintavoForm::ExitRequest() {
  if (BringExitQuestionForward()) return;
  SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

bool TLintavoForm::CloseQuery() {
  if (!Settings.CheckExit) return true;
  return ShowMessageDialog(kQuestionExit, MessageKind::Exit, {MessageButton::Yes, MessageButton::No},
                           0) == kResultYes;
}

void TLintavoForm::OnClose() {
  // Asked to close from outside (the installer does so) while the question is open: that
  // question is the answer, not a second one.
  if (BringExitQuestionForward()) return;
  if (!FormPlacement1->OnCloseQuery(CloseQuery())) return;
  CloseMainWindow();
}

void TLintavoForm::OnDestroy() {
  FormPlacement1->OnDestroy();
  PostQuitMessage(0);
}

void TLintavoForm::CloseMainWindow() {
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  Application.ProcessMessages();
  ReleaseHelpObj();
  // The reader is stopped before the window goes, and the line watch before the reader so
  // that no tick starts another; the port stays open until the process ends and the system
  // releases the device. An open still under way is cancelled and waited for a moment; one
  // whose driver ignores that ends with the process.
  StopLineWatch();
  ReaderThread.Stop();
  EndPortOpens();
  Destroy();
}
