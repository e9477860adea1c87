#include "ui/tray/tray_menu_win.h"

#include <string>

#include "ui/shell/texts.h"
#include "ui/tray/tray_pictures_ids.h"

namespace {

constexpr int kBandFontPoints = 14;
constexpr int kBandTextAngle = 90;
constexpr BYTE kCyrillicCharset = RUSSIAN_CHARSET;
constexpr COLORREF kBandTextColour = RGB(255, 255, 255);

void FillColumns(HDC dc, int x, int width, int top, int bottom, int colourRole) {
  FillSolid(dc, {x, top, x + width, bottom}, GetSysColor(colourRole));
}

}  // namespace

void FillTrayMenu(TDrawnPopupMenu& menu, const TTrayMenuActions& actions) {
  menu.LeftMargin = kTrayMenuLeftMargin;
  menu.MinTextOffset = 0;
  menu.AutoPopup = true;
  menu.Add({kTrayShowServer, 0, true, true, {}, 0, actions.ShowServer});
  menu.Add({kTraySetup, 1, false, true, {}, 0, actions.Setup});
  menu.Add({kTrayJournal, 4, false, true, {}, 0, actions.Journal});
  menu.Add({kTrayHelp, 2, false, true, {}, 0, actions.Help});
  menu.Add({L"-", 0, false, true, {}, 0, nullptr});
  menu.Add({kTrayExit, 3, false, true, {}, 0, actions.Exit});
}

void TrayMenuItemParams(TPicClip& strip, const TDrawnMenuItem& item, TItemParams& params,
                        int dpi) {
  strip.SetDpi(dpi);
  if (item.Tag >= 0 && item.Tag < strip.CellCount()) params.Picture = strip.Cell(item.Tag);
}

TFontSpec TrayBandFont(int dpi) {
  TFontSpec font;
  font.Face = L"Courier New";
  font.Height = FontHeightAtDpi(kBandFontPoints, dpi);
  font.Bold = true;
  font.Charset = kCyrillicCharset;
  return font;
}

void DrawTrayMenuBand(HDC dc, const RECT& margin, bool newStyleShell, int dpi) {
  const TUniqueFont font = MakeRotatedFont(TrayBandFont(dpi), kBandTextAngle);

  const TBandLayout layout =
      LayoutBand({margin.left, margin.top, margin.right, margin.bottom}, newStyleShell, dpi);
  const RECT gradient{layout.Gradient.Left, layout.Gradient.Top, layout.Gradient.Right,
                      layout.Gradient.Bottom};
  FillGradient(dc, gradient, ColourOf(kBandStart), ColourOf(kBandEnd), kBandColours);
  if (layout.ShadowX)
    FillColumns(dc, *layout.ShadowX, layout.LineWidth, margin.top, margin.bottom, COLOR_BTNSHADOW);
  if (layout.HighlightX)
    FillColumns(dc, *layout.HighlightX, layout.LineWidth, margin.top, margin.bottom,
                COLOR_BTNHIGHLIGHT);

  const TSelectObjectScope select(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kBandTextColour);
  const std::wstring text = kTrayBandText;
  ExtTextOutW(dc, layout.TextX, layout.TextY, ETO_CLIPPED, &margin, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
}

void LoadTrayPictures(TTrayIcon& icon, HINSTANCE module) {
  // The notification area shows small icons at the system's DPI; each file holds the
  // sizes it may ask for, so none is stretched.
  const int width = GetSystemMetrics(SM_CXSMICON);
  const int height = GetSystemMetrics(SM_CYSMICON);
  icon.Icons().BeginUpdate();
  icon.Icons().Add(LoadIconResource(module, IDI_TRAY_PORT_OPEN, width, height));
  icon.Icons().Add(LoadIconResource(module, IDI_TRAY_PORT_FAILED, width, height));
  icon.Icons().EndUpdate();
  icon.SetIcon(LoadIconResource(module, IDI_TRAY_DEVICE, width, height));
}

void ShowTrayState(TTrayIcon& icon, int portFailed) {
  icon.SetIcon(CopyIconOf(icon.Icons()[portFailed]));
}

void BringLastActivePopupForward(HWND applicationWindow) {
  const HWND popup = GetLastActivePopup(applicationWindow);
  if (popup != applicationWindow && IsWindowVisible(popup) && IsWindowEnabled(popup))
    SetForegroundWindow(popup);
}
