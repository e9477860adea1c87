#include "ui/tray/tray_menu_win.h"

#include <string>

#include "ui/shell/texts.h"
#include "ui/tray/tray_pictures_ids.h"

namespace {

constexpr int kBandFontPoints = 14;
constexpr int kBandTextAngle = 90;
constexpr BYTE kCyrillicCharset = RUSSIAN_CHARSET;
constexpr COLORREF kBandTextColour = RGB(255, 255, 255);

void FillColumn(HDC dc, int x, int top, int bottom, int colourRole) {
  FillSolid(dc, {x, top, x + 1, bottom}, GetSysColor(colourRole));
}

}  // namespace

void FillTrayMenu(TDrawnPopupMenu& menu, const TTrayMenuActions& actions) {
  menu.LeftMargin = kTrayMenuLeftMargin;
  menu.MinTextOffset = 0;
  menu.AutoPopup = true;
  menu.Add({kTrayShowServer, 0, true, true, {}, 0, actions.ShowServer});
  menu.Add({kTraySetup, 1, false, true, {}, 0, actions.Setup});
  menu.Add({kTrayHelp, 2, false, true, {}, 0, actions.Help});
  menu.Add({L"-", 0, false, true, {}, 0, nullptr});
  menu.Add({kTrayExit, 3, false, true, {}, 0, actions.Exit});
}

void TrayMenuItemParams(TPicClip& strip, const TDrawnMenuItem& item, TItemParams& params) {
  if (item.Tag >= 0 && item.Tag < strip.CellCount()) params.Picture = strip.Cell(item.Tag);
}

void DrawTrayMenuBand(HDC dc, const RECT& margin, bool newStyleShell) {
  TFontSpec wanted;
  wanted.Face = L"Courier New";
  wanted.Height = FontHeightForPoints(kBandFontPoints);
  wanted.Bold = true;
  wanted.Charset = kCyrillicCharset;
  const TUniqueFont font = MakeRotatedFont(wanted, kBandTextAngle);

  const TBandLayout layout =
      LayoutBand({margin.left, margin.top, margin.right, margin.bottom}, newStyleShell);
  const RECT gradient{layout.Gradient.Left, layout.Gradient.Top, layout.Gradient.Right,
                      layout.Gradient.Bottom};
  FillGradient(dc, gradient, ColourOf(kBandStart), ColourOf(kBandEnd), kBandColours);
  if (layout.ShadowX) FillColumn(dc, *layout.ShadowX, margin.top, margin.bottom, COLOR_BTNSHADOW);
  if (layout.HighlightX)
    FillColumn(dc, *layout.HighlightX, margin.top, margin.bottom, COLOR_BTNHIGHLIGHT);

  const TSelectObjectScope select(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kBandTextColour);
  const std::wstring text = kTrayBandText;
  ExtTextOutW(dc, layout.TextX, layout.TextY, ETO_CLIPPED, &margin, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
}

void LoadTrayPictures(TTrayIcon& icon, HINSTANCE module) {
  icon.Icons().BeginUpdate();
  icon.Icons().Add(LoadIconResource(module, IDI_TRAY_PORT_OPEN, 16, 16));
  icon.Icons().Add(LoadIconResource(module, IDI_TRAY_PORT_FAILED, 16, 16));
  icon.Icons().EndUpdate();
  icon.SetIcon(LoadIconResource(module, IDI_TRAY_DEVICE, 32, 32));
}

void ShowTrayState(TTrayIcon& icon, int portFailed) {
  icon.SetIcon(CopyIconOf(icon.Icons()[portFailed]));
}

void BringLastActivePopupForward(HWND applicationWindow) {
  const HWND popup = GetLastActivePopup(applicationWindow);
  if (popup != applicationWindow && IsWindowVisible(popup) && IsWindowEnabled(popup))
    SetForegroundWindow(popup);
}
