#include "ui/dialogs/message_dialog_win.h"

#include <stdexcept>

#include "services/trint_win.h"
#include "ui/shell/application_win.h"
#include "ui/shell/designed_font_win.h"
#include "ui/shell/display_win.h"
#include "ui/shell/gdi_win.h"
#include "ui/shell/mul_div.h"

namespace {

constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
// The system's message font, or the font new windows get when the system will not say.
LOGFONTW MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return metrics.lfMessageFont;
  }
  LOGFONTW font{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  return font;
}

HWND CreateChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style,
                 const TLayoutRect& r, int id, HFONT font) {
  const HWND child = CreateWindowExW(
      0, cls, text, WS_CHILD | WS_VISIBLE | style, r.Left, r.Top, r.Width, r.Height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

SIZE FrameSize() { return OuterSizeAtDpi({0, 0}, kFormStyle, kFormExStyle, SystemDpi()); }

// The system's stock icon at the size icons have at the DPI.
HICON StockIcon(int id, int dpi) {
  const int size = MetricAtDpi(SM_CXICON, dpi);
  return static_cast<HICON>(
      LoadImageW(nullptr, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED));
}

int Rescaled(int length, int from, int to) { return MulDivRound(length, to, from); }

}  // namespace

std::unique_ptr<TMessageForm> BuildMessageForm(const std::wstring& text, MessageKind kind,
                                               MessageButtons buttons) {
  std::unique_ptr<TMessageForm> form(new TMessageForm);
  if (!form->CreateHandle(
          {.ExStyle = kFormExStyle, .Style = kFormStyle, .Parent = Application.Handle()}))
    throw std::runtime_error("Cannot create the message dialog");
  const HWND window = form->Handle();

  // Measuring uses the font as the system gives it; the controls show it with the Cyrillic
  // character set forced.
  LOGFONTW font = MessageFont();
  const TUniqueFont canvasFont(CreateFontIndirectW(&font));
  font = WithCyrillic(font);
  form->Font_.Reset(CreateFontIndirectW(&font));
  form->Dpi_ = SystemDpi();

  const TWindowDc dc(window);
  const TSelectObjectScope selected(dc.Get(), canvasFont.Get());
  SIZE letters{};
  GetTextExtentPoint32W(dc.Get(), kAverageWidthLetters, 52, &letters);
  const TMessageSpacing spacing = MessageSpacing(AverageCharWidth(letters.cx), letters.cy);

  MeasureNewButtons(buttons, ButtonWidths, [&dc](const wchar_t* caption) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.Get(), caption, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return static_cast<int>(r.right - r.left);
  });

  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  RECT textRect{0, 0, MessageWrapWidth(screenWidth), 0};
  DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);

  const TMessageKindInfo& info = KindInfo(kind);
  const SIZE frame = FrameSize();
  const TMessageLayout layout = LayoutMessageForm(
      {spacing, DialogButtonWidth(spacing.ButtonWidth, buttons, ButtonWidths),
       static_cast<int>(textRect.right), static_cast<int>(textRect.bottom), info.IconId != kNoIcon,
       buttons, screenWidth, GetSystemMetrics(SM_CYSCREEN), static_cast<int>(frame.cx),
       static_cast<int>(frame.cy), GetSystemMetrics(SM_CXICON)});
  form->ClientSize_ = {layout.ClientWidth, layout.ClientHeight};

  SetWindowPos(window, nullptr, layout.Window.Left, layout.Window.Top, layout.Window.Width,
               layout.Window.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowTextW(window, info.Caption != nullptr ? info.Caption : Application.Title().c_str());

  if (layout.Icon) {
    const HWND image =
        CreateChild(window, L"STATIC", nullptr, SS_ICON, *layout.Icon, kMessageImageId, nullptr);
    form->IconId_ = info.IconId;
    const HICON icon = StockIcon(info.IconId, form->Dpi_);
    SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    SetWindowPos(image, nullptr, layout.Icon->Left, layout.Icon->Top, layout.Icon->Width,
                 layout.Icon->Height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CreateChild(window, L"STATIC", text.c_str(), SS_LEFT, layout.Label, kMessageLabelId,
              form->Font_.Get());

  form->Roles_ = ChooseButtonRoles(buttons);
  for (const auto& [button, rect] : layout.Buttons) {
    const DWORD style =
        WS_TABSTOP | (form->Roles_.Default == button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    const HWND control =
        CreateChild(window, L"BUTTON", ButtonInfo(button).Caption, style, rect,
                    kMessageButtonIdBase + static_cast<int>(button), form->Font_.Get());
    form->Buttons_.emplace_back(button, control);
  }
  return form;
}

int ShowMessageDialog(const std::wstring& text, MessageKind kind, MessageButtons buttons,
                      std::int32_t helpContext) {
  const std::unique_ptr<TMessageForm> form = BuildMessageForm(text, kind, buttons);
  form->SetHelpContext(helpContext);
  return form->ShowModal();
}

int TMessageForm::ShowModal() {
  CentreOnScreen();
  TranslateForm(Handle(), false);
  return Modal_.Run(Handle(), Buttons_.empty() ? nullptr : Buttons_.front().second,
                    [this](MSG& msg) { return OnDialogKey(msg); }, kClosedResult);
}

void TMessageForm::DescribeClass(WNDCLASSEXW& windowClass) {
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
}

// Tab walks the buttons, Enter presses the focused button (the default one only when no
// button has the focus) and Esc the cancel button.
bool TMessageForm::OnDialogKey(const MSG& msg) {
  if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)) return false;
  if (msg.message == WM_CHAR) {
    return msg.wParam == L'\t' || msg.wParam == L'\r' || msg.wParam == 0x1B;
  }
  if (msg.message != WM_KEYDOWN) return false;
  switch (msg.wParam) {
    case VK_TAB:
      MoveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
      return true;
    case VK_RETURN:
      if (const HWND focused = FocusedButton()) {
        for (const auto& [button, control] : Buttons_) {
          if (control == focused) Press(button);
        }
      } else if (Roles_.Default) {
        Press(*Roles_.Default);
      }
      return true;
    case VK_ESCAPE:
      if (Roles_.Cancel) Press(*Roles_.Cancel);
      return true;
    default:
      return false;
  }
}

HWND TMessageForm::FocusedButton() const {
  const HWND focus = GetFocus();
  for (const auto& entry : Buttons_) {
    if (entry.second == focus) return focus;
  }
  return nullptr;
}

void TMessageForm::MoveFocus(int step) {
  if (Buttons_.empty()) return;
  const int count = static_cast<int>(Buttons_.size());
  int index = step > 0 ? -1 : 0;
  const HWND focused = FocusedButton();
  for (int i = 0; i < count; ++i) {
    if (Buttons_[static_cast<std::size_t>(i)].second == focused) index = i;
  }
  index = ((index + step) % count + count) % count;
  SetFocus(Buttons_[static_cast<std::size_t>(index)].second);
}

void TMessageForm::Press(MessageButton button) {
  const int result = ButtonInfo(button).Result;
  if (result == 0) {
    Application.HelpRequest(HelpContext_);
    return;
  }
  EndModal(result);
}

// Centred in the work area, so the dialog never stands under the task bar.
void TMessageForm::CentreOnScreen() {
  RECT area = WorkAreaOf(Handle());
  // With several monitors, follow the active window when it stands on another one.
  if (const HWND active = GetActiveWindow()) {
    const HMONITOR monitor = MonitorFromWindow(active, MONITOR_DEFAULTTONULL);
    if (monitor != nullptr && monitor != MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY))
      area = WorkAreaOf(active);
  }
  const int before = Dpi_;
  CentreIn(area);
  // A screen of another DPI scaled the dialog on the way; it is centred at its new size.
  if (Dpi_ != before) CentreIn(area);
}

void TMessageForm::CentreIn(const RECT& area) {
  RECT window;
  GetWindowRect(Handle(), &window);
  const TLayoutPoint p = CentreInArea(window.right - window.left, window.bottom - window.top,
                                      area.right - area.left, area.bottom - area.top);
  SetWindowPos(Handle(), nullptr, area.left + p.Left, area.top + p.Top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TMessageForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_CLOSE:
      EndModal(kClosedResult);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      OnEndSession(wParam != FALSE);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(DpiChangeOf(wParam, lParam));
      return 0;
    case kGetDpiScaledSizeMessage:
      *reinterpret_cast<SIZE*>(lParam) = OuterSize(static_cast<int>(wParam));
      return TRUE;
    default:
      return DefaultProc(message, wParam, lParam);
  }
}

void TMessageForm::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  for (const auto& entry : Buttons_) {
    if (kMessageButtonIdBase + static_cast<int>(entry.first) == id) Press(entry.first);
  }
}

// The focus comes back to the button that had it when the dialog is activated again.
void TMessageForm::OnActivate(bool active) {
  if (!active) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) LastFocus_ = focus;
    return;
  }
  const HWND focus = GetFocus();
  if (focus != nullptr && IsChild(Handle(), focus)) return;  // a repeated activation
  if (LastFocus_ != nullptr && IsWindow(LastFocus_)) {
    SetFocus(LastFocus_);
  } else if (!Buttons_.empty()) {
    SetFocus(Buttons_.front().second);
  } else {
    SetFocus(Handle());
  }
}

void TMessageForm::OnEndSession(bool ending) {
  if (ending) EndModal(kClosedResult);
}

void TMessageForm::EndModal(int result) { Modal_.End(result); }

SIZE TMessageForm::ClientSize(int dpi) const {
  return {Rescaled(ClientSize_.cx, Dpi_, dpi), Rescaled(ClientSize_.cy, Dpi_, dpi)};
}

SIZE TMessageForm::OuterSize(int dpi) const {
  return OuterSizeAtDpi(ClientSize(dpi), kFormStyle, kFormExStyle, dpi);
}

// Moved to a screen of another DPI: the dialog as built, every part scaled in proportion,
// its font and icon made again for the new DPI.
void TMessageForm::OnDpiChanged(const TDpiChange& change) {
  const int from = Dpi_;
  const SIZE client = ClientSize(change.Dpi);
  LOGFONTW font{};
  GetObjectW(Font_.Get(), sizeof font, &font);
  font.lfHeight = Rescaled(font.lfHeight, from, change.Dpi);
  TUniqueFont previous = std::exchange(Font_, TUniqueFont(CreateFontIndirectW(&font)));
  for (HWND child = GetWindow(Handle(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    const auto scaled = [&](LONG length) { return Rescaled(length, from, change.Dpi); };
    SetWindowPos(child, nullptr, scaled(r.left), scaled(r.top), scaled(r.right - r.left),
                 scaled(r.bottom - r.top), SWP_NOZORDER | SWP_NOACTIVATE);
    if (GetDlgCtrlID(child) == kMessageImageId) {
      const HICON icon = StockIcon(IconId_, change.Dpi);
      SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    } else {
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(Font_.Get()), TRUE);
    }
  }
  ClientSize_ = client;
  Dpi_ = change.Dpi;
  PlaceWithClientSize(Handle(), {change.Suggested.left, change.Suggested.top}, client, change.Dpi);
}
