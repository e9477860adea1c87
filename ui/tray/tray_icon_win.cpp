#include "ui/tray/tray_icon_win.h"

#include <cwchar>

#include "ui/shell/application_win.h"
#include "ui/shell/message_filter_win.h"
#include "ui/tray/drawn_menu_win.h"

namespace {

bool KeyDown(int key) { return GetKeyState(key) < 0; }

// The shell broadcasts this to every top-level window once its notification area is new.
UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

}  // namespace

TTrayIcon::TTrayIcon(std::wstring hint, HWND mainWindow, TErrorReport report)
    : Hint_(std::move(hint)), MainWindow_(mainWindow), Report_(std::move(report)) {
  ShellNotify = [](DWORD action, NOTIFYICONDATAW& record) {
    return Shell_NotifyIconW(action, &record) != FALSE;
  };
  CreateHandle({.Style = WS_POPUP});
  // Explorer runs with fewer rights than a copy started as administrator.
  LetMessageThrough(Handle(), TaskbarCreatedMessage());
  FillNotifyRecord();
  Icons_.OnChange = [this] { RefreshTrayIcon(); };
}

TTrayIcon::~TTrayIcon() {
  Enabled = false;
  Icons_.OnChange = nullptr;
  RemoveTrayIcon();
  SetPopupMenu(nullptr);
  DestroyHandle();
}

LRESULT TTrayIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TaskbarCreatedMessage() && message != 0) {
    OnShellRestarted();
    return 0;
  }
  if (message == kTrayIconMessage && Enabled) {
    if (const auto tag = Balloon_.Notice(static_cast<unsigned>(lParam)); tag && OnBalloonClick)
      OnBalloonClick(*tag);
    OnTrayNotify(static_cast<unsigned>(lParam));
    return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

void TTrayIcon::ReportError(const std::wstring& text) const {
  if (Report_) Report_(text);
}

void TTrayIcon::OnTrayNotify(unsigned mouseMessage) {
  // The shell's message says nothing reliable about where; the cursor does.
  POINT cursor{};
  GetCursorPos(&cursor);
  for (const TTrayStep& step : Clicks_.OnMouseMessage(mouseMessage)) RunStep(step, cursor);
}

void TTrayIcon::RunStep(const TTrayStep& step, POINT cursor) {
  switch (AttemptFor(step)) {
    case TTrayAttempt::ShowMenu:
      if (ShowTrayMenu(cursor.x, cursor.y)) return;
      break;
    case TTrayAttempt::RunDefaultItem:
      if (RunDefaultItem()) return;
      break;
    case TTrayAttempt::None:
      break;
  }
  Notice(step, cursor);
}

void TTrayIcon::Notice(const TTrayStep& step, POINT cursor) const {
  if (!OnMouseNotice) return;
  OnMouseNotice({step.Kind, step.Button, step.Double, KeyDown(VK_SHIFT), KeyDown(VK_MENU),
                 KeyDown(VK_CONTROL), cursor});
}

void TTrayIcon::OnShellRestarted() {
  // A new notification area holds none of the old icons. While minimised the program has
  // no task-bar button, so without its icon it could not be reached again; add it anew.
  if (!Active_ || Loading_) return;
  AddTrayIcon();
}

void TTrayIcon::SetActive(bool active) {
  if (active == Active_) return;
  Active_ = active;
  if (Active_)
    AddTrayIcon();
  else
    RemoveTrayIcon();
}

void TTrayIcon::SetHint(std::wstring hint) {
  if (hint == Hint_) return;
  Hint_ = std::move(hint);
  RefreshTrayIcon();
}

void TTrayIcon::SetIcon(TUniqueIcon icon) {
  Icon_ = std::move(icon);
  RefreshTrayIcon();
}

void TTrayIcon::SetPopupMenu(TDrawnPopupMenu* menu) {
  if (PopupMenu_ != nullptr) PopupMenu_->RemoveFreeNotice(this);
  PopupMenu_ = menu;
  if (PopupMenu_ != nullptr) PopupMenu_->AddFreeNotice(this, [this] { PopupMenu_ = nullptr; });
}

void TTrayIcon::Loaded() {
  Loading_ = false;
  if (Active_) AddTrayIcon();
}

bool TTrayIcon::HasImage() const { return static_cast<bool>(Icon_); }

void TTrayIcon::FillNotifyRecord() {
  const TTrayNotifyFields fields =
      MakeTrayNotifyFields(reinterpret_cast<std::uintptr_t>(Icon_.Get()), Hint_);
  Record_ = {};
  // The whole record, as every system from Vista on takes it: the balloon's members are in
  // its later part.
  Record_.cbSize = sizeof(NOTIFYICONDATAW);
  Record_.hWnd = Handle();
  Record_.uID = fields.Id;
  Record_.uFlags = fields.Flags;
  Record_.uCallbackMessage = fields.CallbackMessage;
  Record_.hIcon = reinterpret_cast<HICON>(fields.Image);
  wcsncpy_s(Record_.szTip, fields.Tip.c_str(), _TRUNCATE);
}

bool TTrayIcon::Notify(DWORD action) { return ShellNotify && ShellNotify(action, Record_); }

void TTrayIcon::AddTrayIcon() {
  RemoveTrayIcon();
  if (!HasImage()) return;
  Clicks_.Clear();
  FillNotifyRecord();
  IconAdded_ = Notify(NIM_ADD);
  // Some shells take an empty tip only from a modify.
  if (HintShortPart(Hint_).empty() && IconAdded_) Notify(NIM_MODIFY);
}

bool TTrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text,
                            std::uint64_t tag) {
  if (!IconAdded_) return false;
  const TTrayBalloonFields fields = MakeTrayBalloonFields(title, text);
  FillNotifyRecord();
  Record_.uFlags |= NIF_INFO;
  wcsncpy_s(Record_.szInfoTitle, fields.Title.c_str(), _TRUNCATE);
  wcsncpy_s(Record_.szInfo, fields.Text.c_str(), _TRUNCATE);
  Record_.dwInfoFlags = NIIF_WARNING | NIIF_NOSOUND;
  const bool shown = Modify();
  if (shown) Balloon_.Shown(tag);
  // The balloon is shown once; later modifies carry only the icon's own members.
  FillNotifyRecord();
  return shown;
}

// A modify the shell refuses means it no longer holds the icon (Explorer restarted, and its
// notice did not come): the icon is added again on the line timer's retry.
bool TTrayIcon::Modify() {
  if (Notify(NIM_MODIFY)) return true;
  IconAdded_ = false;
  Clicks_.Clear();
  return false;
}

void TTrayIcon::RemoveTrayIcon() {
  Notify(NIM_DELETE);  // the shell refuses when it holds no icon; nothing to do about it
  IconAdded_ = false;
  Clicks_.Clear();
}

void TTrayIcon::RefreshTrayIcon() {
  if (Loading_) return;
  if (IconAdded_) {
    if (!HasImage()) {
      RemoveTrayIcon();
    } else {
      FillNotifyRecord();
      Modify();
    }
  } else if (Active_) {
    AddTrayIcon();
  }
}

void TTrayIcon::BringMessageWindowForward() const {
  // The menu closes on a click elsewhere only while its owner's thread is in front.
  if (IsWindowEnabled(Handle())) SetForegroundWindow(Handle());
}

bool TTrayIcon::ShowTrayMenu(int x, int y) {
  if (!Active_ || PopupMenu_ == nullptr || !PopupMenu_->AutoPopup) return false;
  const HWND active = GetActiveWindow();
  const HWND captured = active != nullptr ? active : MainWindow_;
  if (captured != nullptr) SendMessageW(captured, WM_CANCELMODE, 0, 0);
  BringMessageWindowForward();
  Application.ProcessMessages();
  if (PopupMenu_ != nullptr) PopupMenu_->Popup(x, y);
  BringMessageWindowForward();
  PostMessageW(Handle(), WM_NULL, 0, 0);
  return true;
}

bool TTrayIcon::RunDefaultItem() {
  if (!Active_ || PopupMenu_ == nullptr) return false;
  return PopupMenu_->RunDefaultItem();
}
