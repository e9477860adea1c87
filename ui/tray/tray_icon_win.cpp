#include "ui/tray/tray_icon_win.h"

#include <cwchar>

#include "ui/tray/drawn_menu_win.h"

namespace {

void RegisterTrayWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(instance, kTrayIconWindowClass, &windowClass)) return;
  windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kTrayIconWindowClass;
  RegisterClassExW(&windowClass);
}

// Lets what is already queued run before the menu takes over the thread; a quit request
// found on the way is put back for the message loop.
void ProcessPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

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
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterTrayWindowClass(instance, WindowProc);
  Window_.Reset(CreateWindowExW(0, kTrayIconWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance, this));
  FillNotifyRecord();
  Icons_.OnChange = [this] { RefreshTrayIcon(); };
}

TTrayIcon::~TTrayIcon() {
  Enabled = false;
  Icons_.OnChange = nullptr;
  RemoveTrayIcon();
  SetPopupMenu(nullptr);
  Window_.Reset();
}

LRESULT CALLBACK TTrayIcon::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* icon = reinterpret_cast<TTrayIcon*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (icon == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return icon->HandleMessage(window, message, wParam, lParam);
}

LRESULT TTrayIcon::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TaskbarCreatedMessage() && message != 0) {
    OnShellRestarted();
    return 0;
  }
  if (message == kTrayIconMessage && Enabled) {
    try {
      OnTrayNotify(static_cast<unsigned>(lParam));
    } catch (...) {
      ReportCurrentException(Report_);
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
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
  try {
    AddTrayIcon();
  } catch (...) {
    ReportCurrentException(Report_);
  }
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
  Record_.cbSize = NOTIFYICONDATAW_V1_SIZE;
  Record_.hWnd = Window_.Get();
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
      Notify(NIM_MODIFY);
    }
  } else if (Active_) {
    AddTrayIcon();
  }
}

void TTrayIcon::BringMessageWindowForward() const {
  // The menu closes on a click elsewhere only while its owner's thread is in front.
  if (IsWindowEnabled(Window_.Get())) SetForegroundWindow(Window_.Get());
}

bool TTrayIcon::ShowTrayMenu(int x, int y) {
  if (!Active_ || PopupMenu_ == nullptr || !PopupMenu_->AutoPopup) return false;
  const HWND active = GetActiveWindow();
  const HWND captured = active != nullptr ? active : MainWindow_;
  if (captured != nullptr) SendMessageW(captured, WM_CANCELMODE, 0, 0);
  BringMessageWindowForward();
  ProcessPendingMessages();
  if (PopupMenu_ != nullptr) PopupMenu_->Popup(x, y);
  BringMessageWindowForward();
  PostMessageW(Window_.Get(), WM_NULL, 0, 0);
  return true;
}

bool TTrayIcon::RunDefaultItem() {
  if (!Active_ || PopupMenu_ == nullptr) return false;
  return PopupMenu_->RunDefaultItem();
}
