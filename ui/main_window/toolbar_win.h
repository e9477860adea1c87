// The main window's toolbar: flat buttons with a glyph above the caption, tiled wallpaper,
// etched top and bottom lines, grey glyphs until the mouse is over a button, tooltips, and
// one button that opens a drop-down menu on press instead of clicking. Designed at 96 DPI,
// laid out and drawn at the DPI it is given, its pixel art scaled without blur.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/unique_handle_win.h"
#include "ui/main_window/toolbar_look.h"
#include "ui/shell/gdi_win.h"
#include "ui/shell/window_win.h"

struct TToolButtonInfo {
  int CommandId;  // sent to the parent as WM_COMMAND on a click; 0 for a drop-down button
  std::wstring Caption;
  std::wstring Hint;
  TUniqueBitmap Glyph;  // at 96 DPI; its bottom-left pixel names the transparent colour
  HMENU DropDownMenu;   // opened on press instead of clicking; commands go to the parent
  int Left;             // in pixels at the bar's DPI
};

class TToolBar : public TWindow<TToolBar> {
 public:
  static constexpr const wchar_t* kClassName = L"LintavoToolBar";

  static std::unique_ptr<TToolBar> Create(HWND parent, HFONT font, TUniqueBitmap wallpaper,
                                          std::vector<TToolButtonInfo> buttons,
                                          int dpi = kDesignDpi);
  // Lays the bar out again at another DPI, with the caption font made for it.
  void SetDpi(int dpi, HFONT font);
  const TToolBarMetrics& Metrics() const { return Metrics_; }
  void SetButtonLeft(std::size_t index, int left);
  RECT ButtonRect(std::size_t index) const;
  // Keeps the bar across the top of its parent at full width.
  void FitToParent();

 private:
  struct Button {
    TToolButtonInfo Info;
    TUniqueBitmap Glyph;  // at the bar's DPI
    TUniqueBitmap GreyGlyph;
    COLORREF Transparent = 0;
  };

  friend class TWindow<TToolBar>;
  TToolBar(HFONT font, TUniqueBitmap wallpaper, std::vector<TToolButtonInfo> buttons);
  void ScalePictures(int dpi);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void OnPaint();
  void Draw(HDC dc, const RECT& client) const;
  void DrawButton(HDC dc, std::size_t index) const;
  void OnMouseMove(POINT point);
  void OnMouseLeave();
  void OnLeftButtonDown(POINT point);
  void OnLeftButtonUp(POINT point);
  void OpenDropDown(std::size_t index);
  int HitTest(POINT point) const;
  bool IsHot(std::size_t index) const;
  void CreateTooltips();
  void MoveTooltip(std::size_t index);

  TUniqueWindow Tooltip_;
  HFONT Font_;
  TUniqueBitmap DesignedWallpaper_;
  TUniqueBitmap Wallpaper_;  // at the bar's DPI
  int Dpi_ = kDesignDpi;
  TToolBarMetrics Metrics_ = ToolBarMetricsAtDpi(kDesignDpi);
  std::vector<Button> Buttons_;
  int Hot_ = -1;      // the button under the mouse
  int Pressed_ = -1;  // the button the left button went down on, or whose menu is open
  bool TrackingLeave_ = false;
};
