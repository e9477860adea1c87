// What the main window attaches to its notification-area components: the menu's six items
// and their actions, the pictures and the band the menu draws, the state image, and the
// bring-forward step of "Драйвер КС".
#pragma once

#include <windows.h>

#include <functional>

#include "ui/shell/dpi_scale.h"
#include "ui/tray/drawn_menu_win.h"
#include "ui/tray/pic_clip_win.h"
#include "ui/tray/tray_icon_win.h"

inline constexpr int kTrayMenuLeftMargin = 24;  // at 96 DPI
inline constexpr int kTrayStripCols = 5;
inline constexpr int kTrayStripRows = 1;

struct TTrayMenuActions {
  std::function<void()> ShowServer;  // "Драйвер КС", the default item
  std::function<void()> Setup;
  std::function<void()> Journal;
  std::function<void()> Help;
  std::function<void()> Exit;
};

// The menu's items, tags and default, and its drawing properties.
void FillTrayMenu(TDrawnPopupMenu& menu, const TTrayMenuActions& actions);

// The item's picture is the strip's cell named by its tag, at the menu's DPI.
void TrayMenuItemParams(TPicClip& strip, const TDrawnMenuItem& item, TItemParams& params,
                        int dpi = kDesignDpi);

// The band's font: the product word in bold Courier New, Cyrillic, 14 points at the DPI.
TFontSpec TrayBandFont(int dpi);
// The band down the menu's left side at the DPI: the gradient, the etched edge and the
// product word.
void DrawTrayMenuBand(HDC dc, const RECT& margin, bool newStyleShell, int dpi = kDesignDpi);

// The state images from the module's resources, and the grey device shown until the
// port's state is known, each at the size the notification area shows.
void LoadTrayPictures(TTrayIcon& icon, HINSTANCE module);

// Shows the state image: index 1 when the port is not open, 0 otherwise.
void ShowTrayState(TTrayIcon& icon, int portFailed);

// Brings the program's last active window to the front, unless that is the application
// window itself or it is hidden or disabled.
void BringLastActivePopupForward(HWND applicationWindow);
