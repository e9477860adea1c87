#include "ui/main_window/toolbar_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "ui/main_window/toolbar_look.h"
#include "ui/shell/display_win.h"
#include "ui/shell/sharp_bitmap_win.h"

namespace {

COLORREF BottomLeftPixel(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof(info), &info);
  TMemoryDc dc(nullptr);
  TSelectObjectScope select(dc.Get(), bitmap);
  return GetPixel(dc.Get(), 0, info.bmHeight - 1);
}

// The glyph as drawn while the mouse is not over its button.
TUniqueBitmap MakeGreyGlyph(HBITMAP glyph, COLORREF transparent) {
  BITMAP info{};
  GetObjectW(glyph, sizeof(info), &info);
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof(header.bmiHeader);
  header.bmiHeader.biWidth = info.bmWidth;
  header.bmiHeader.biHeight = -info.bmHeight;
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;

  TScreenDc screen;
  void* bits = nullptr;
  TUniqueBitmap grey(CreateDIBSection(screen.Get(), &header, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!grey) return grey;
  GetDIBits(screen.Get(), glyph, 0, info.bmHeight, bits, &header, DIB_RGB_COLORS);
  auto* pixels = static_cast<DWORD*>(bits);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  for (LONG i = 0; i < info.bmWidth * info.bmHeight; ++i) {
    const DWORD bgr = pixels[i];  // 0x00RRGGBB in memory order B, G, R
    const COLORREF pixel = RGB(GetBValue(bgr), GetGValue(bgr), GetRValue(bgr));
    const COLORREF shown = GreyGlyphPixel(pixel, transparent, face);
    pixels[i] = RGB(GetBValue(shown), GetGValue(shown), GetRValue(shown));
  }
  return grey;
}

void FillRows(HDC dc, int left, int right, int y, int rows, int colourIndex) {
  RECT band{left, y, right, y + rows};
  FillRect(dc, &band, GetSysColorBrush(colourIndex));
}

// A button's frame, one designed pixel wide at any DPI.
void DrawFrame(HDC dc, RECT frame, UINT edge, int lineWidth) {
  for (int line = 0; line < lineWidth; ++line) {
    DrawEdge(dc, &frame, edge, BF_RECT);
    InflateRect(&frame, -1, -1);
  }
}

}  // namespace

std::unique_ptr<TToolBar> TToolBar::Create(HWND parent, HFONT font, TUniqueBitmap wallpaper,
                                           std::vector<TToolButtonInfo> buttons, int dpi) {
  std::unique_ptr<TToolBar> bar(new TToolBar(font, std::move(wallpaper), std::move(buttons)));
  bar->Dpi_ = dpi;
  bar->Metrics_ = ToolBarMetricsAtDpi(dpi);
  RECT client{};
  GetClientRect(parent, &client);
  if (!bar->CreateHandle({.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                          .Width = client.right,
                          .Height = bar->Metrics_.BarHeight,
                          .Parent = parent}))
    return nullptr;
  // The pictures are first drawn when the window's loop runs, after this.
  bar->ScalePictures(dpi);
  bar->CreateTooltips();
  return bar;
}

TToolBar::TToolBar(HFONT font, TUniqueBitmap wallpaper, std::vector<TToolButtonInfo> buttons)
    : Font_(font), DesignedWallpaper_(std::move(wallpaper)) {
  for (auto& info : buttons) {
    Button button;
    button.Info = std::move(info);
    button.Transparent = BottomLeftPixel(button.Info.Glyph.Get());
    Buttons_.push_back(std::move(button));
  }
}

// Nearest-pixel copies keep the transparent colour exact, which the glyphs' drawing needs.
void TToolBar::ScalePictures(int dpi) {
  Wallpaper_ = ScaleBitmapToDpi(DesignedWallpaper_.Get(), dpi);
  for (Button& button : Buttons_) {
    const int size = Metrics_.GlyphSize;
    button.Glyph = ScaleBitmapSharp(button.Info.Glyph.Get(), size, size);
    button.GreyGlyph = MakeGreyGlyph(button.Glyph.Get(), button.Transparent);
  }
}

void TToolBar::SetDpi(int dpi, HFONT font) {
  Font_ = font;
  Dpi_ = dpi;
  Metrics_ = ToolBarMetricsAtDpi(dpi);
  ScalePictures(dpi);
  FitToParent();
  for (std::size_t i = 0; i < Buttons_.size(); ++i) MoveTooltip(i);
}

RECT TToolBar::ButtonRect(std::size_t index) const {
  const int left = Buttons_[index].Info.Left;
  return {left, Metrics_.ButtonTop, left + Metrics_.ButtonWidth,
          Metrics_.ButtonTop + Metrics_.ButtonHeight};
}

void TToolBar::SetButtonLeft(std::size_t index, int left) {
  if (Buttons_[index].Info.Left == left) return;
  Buttons_[index].Info.Left = left;
  MoveTooltip(index);
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TToolBar::FitToParent() {
  RECT client{};
  GetClientRect(GetParent(Handle()), &client);
  SetWindowPos(Handle(), nullptr, 0, 0, client.right, Metrics_.BarHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT TToolBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      OnMouseMove(point);
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnLeftButtonDown(point);
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp(point);
      return 0;
    case WM_CAPTURECHANGED:
      if (Pressed_ >= 0 && Buttons_[Pressed_].Info.DropDownMenu == nullptr) {
        Pressed_ = -1;
        InvalidateRect(Handle(), nullptr, FALSE);
      }
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // the buttons never take the keyboard focus
    default:
      return DefaultProc(message, wParam, lParam);
  }
}

void TToolBar::OnPaint() {
  const TPaintScope paint(Handle());
  const HDC dc = paint.Get();
  RECT client{};
  GetClientRect(Handle(), &client);
  // Drawn off screen first so hovering does not flicker.
  TMemoryDc buffer(dc);
  TUniqueBitmap surface(CreateCompatibleBitmap(dc, client.right, client.bottom));
  {
    TSelectObjectScope select(buffer.Get(), surface.Get());
    Draw(buffer.Get(), client);
    BitBlt(dc, 0, 0, client.right, client.bottom, buffer.Get(), 0, 0, SRCCOPY);
  }
}

void TToolBar::Draw(HDC dc, const RECT& client) const {
  // Under a high-contrast scheme the captions take its text colour, which the wallpaper's
  // light greys would swallow; the scheme's own face shows instead.
  if (HighContrast()) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  } else {
    TUniqueBrush tile(CreatePatternBrush(Wallpaper_.Get()));
    SetBrushOrgEx(dc, 0, 0, nullptr);
    FillRect(dc, &client, tile.Get());
  }
  // Etched lines: a shadow row with a highlight row below it, at the top and the bottom.
  const int line = Metrics_.LineWidth;
  FillRows(dc, 0, client.right, 0, line, COLOR_BTNSHADOW);
  FillRows(dc, 0, client.right, line, line, COLOR_BTNHIGHLIGHT);
  FillRows(dc, 0, client.right, client.bottom - 2 * line, line, COLOR_BTNSHADOW);
  FillRows(dc, 0, client.right, client.bottom - line, line, COLOR_BTNHIGHLIGHT);
  for (std::size_t i = 0; i < Buttons_.size(); ++i) DrawButton(dc, i);
}

void TToolBar::DrawButton(HDC dc, std::size_t index) const {
  const Button& button = Buttons_[index];
  RECT frame = ButtonRect(index);
  const bool pressed = Pressed_ == static_cast<int>(index) &&
                       (button.Info.DropDownMenu != nullptr || Hot_ == Pressed_);
  const bool hot = IsHot(index);
  if (pressed) {
    DrawFrame(dc, frame, BDR_SUNKENOUTER, Metrics_.LineWidth);
  } else if (hot) {
    DrawFrame(dc, frame, BDR_RAISEDINNER, Metrics_.LineWidth);
  }
  const int shift = pressed ? Metrics_.LineWidth : 0;
  const int glyph = Metrics_.GlyphSize;

  TSelectObjectScope font(dc, Font_);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int contentHeight = glyph + Metrics_.GlyphCaptionGap + metrics.tmHeight;
  const int glyphLeft = frame.left + (Metrics_.ButtonWidth - glyph) / 2 + shift;
  const int glyphTop = frame.top + (Metrics_.ButtonHeight - contentHeight) / 2 + shift;

  {
    TMemoryDc glyphDc(dc);
    const HBITMAP shown =
        Hot_ == static_cast<int>(index) ? button.Glyph.Get() : button.GreyGlyph.Get();
    TSelectObjectScope select(glyphDc.Get(), shown);
    TransparentBlt(dc, glyphLeft, glyphTop, glyph, glyph, glyphDc.Get(), 0, 0, glyph, glyph,
                   button.Transparent);
  }

  if (button.Info.DropDownMenu != nullptr) {
    // The drop-down triangle: a designed pixel right of the glyph, centred on it.
    const std::vector<int> rows = DropDownRowsAtDpi(Dpi_);
    const int left = glyphLeft + glyph + Metrics_.LineWidth;
    const int top = glyphTop + (glyph - static_cast<int>(rows.size())) / 2;
    for (std::size_t row = 0; row < rows.size(); ++row) {
      const int x = left + static_cast<int>(row);
      FillRows(dc, x, x + rows[row], top + static_cast<int>(row), 1, COLOR_BTNTEXT);
    }
  }

  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  RECT caption{frame.left + shift, glyphTop + glyph + Metrics_.GlyphCaptionGap,
               frame.right + shift, frame.bottom + shift};
  DrawTextW(dc, button.Info.Caption.c_str(), -1, &caption,
            DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

bool TToolBar::IsHot(std::size_t index) const {
  if (Hot_ != static_cast<int>(index) || !IsWindowEnabled(Handle())) return false;
  // The raised frame shows only while this program is the active application.
  DWORD foregroundProcess = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
  return foregroundProcess == GetCurrentProcessId();
}

int TToolBar::HitTest(POINT point) const {
  for (std::size_t i = 0; i < Buttons_.size(); ++i) {
    const RECT rect = ButtonRect(i);
    if (PtInRect(&rect, point)) return static_cast<int>(i);
  }
  return -1;
}

void TToolBar::OnMouseMove(POINT point) {
  if (!TrackingLeave_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    TrackingLeave_ = TrackMouseEvent(&track) != FALSE;
  }
  const int hot = HitTest(point);
  if (hot != Hot_) {
    Hot_ = hot;
    InvalidateRect(Handle(), nullptr, FALSE);
  }
}

void TToolBar::OnMouseLeave() {
  TrackingLeave_ = false;
  if (Hot_ != -1) {
    Hot_ = -1;
    InvalidateRect(Handle(), nullptr, FALSE);
  }
}

void TToolBar::OnLeftButtonDown(POINT point) {
  const int index = HitTest(point);
  if (index < 0) return;
  Hot_ = index;
  if (Buttons_[index].Info.DropDownMenu != nullptr) {
    OpenDropDown(static_cast<std::size_t>(index));
    return;
  }
  Pressed_ = index;
  SetCapture(Handle());
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TToolBar::OnLeftButtonUp(POINT point) {
  if (Pressed_ < 0) return;
  const int pressed = std::exchange(Pressed_, -1);
  ReleaseCapture();
  InvalidateRect(Handle(), nullptr, FALSE);
  // A click happens only when the button comes up over the button it went down on.
  if (HitTest(point) == pressed) {
    SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(Buttons_[pressed].Info.CommandId, 0),
                 reinterpret_cast<LPARAM>(Handle()));
  }
}

void TToolBar::OpenDropDown(std::size_t index) {
  Pressed_ = static_cast<int>(index);
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
  const RECT rect = ButtonRect(index);
  POINT corner{rect.left - 1, rect.bottom};
  ClientToScreen(Handle(), &corner);
  TrackPopupMenu(Buttons_[index].Info.DropDownMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                 corner.x, corner.y, 0, GetParent(Handle()), nullptr);
  // The press that dismissed the menu over this button must not open it again.
  MSG pending;
  if (PeekMessageW(&pending, Handle(), WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_NOREMOVE)) {
    const POINT at{GET_X_LPARAM(pending.lParam), GET_Y_LPARAM(pending.lParam)};
    if (HitTest(at) == static_cast<int>(index)) {
      PeekMessageW(&pending, Handle(), pending.message, pending.message, PM_REMOVE);
    }
  }
  Pressed_ = -1;
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TToolBar::CreateTooltips() {
  Tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
  if (!Tooltip_) return;
  for (std::size_t i = 0; i < Buttons_.size(); ++i) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = i;
    tool.rect = ButtonRect(i);
    tool.lpszText = Buttons_[i].Info.Hint.data();
    SendMessageW(Tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void TToolBar::MoveTooltip(std::size_t index) {
  if (!Tooltip_) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = Handle();
  tool.uId = index;
  tool.rect = ButtonRect(index);
  SendMessageW(Tooltip_.Get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}
