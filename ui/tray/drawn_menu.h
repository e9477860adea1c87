// The drawn tray menu's arithmetic: gradient bands, item sizes and where an item's picture,
// caption and separator lines go. The Windows layer measures text and paints the results.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/shell/dpi_scale.h"

struct TRgb {
  int Red = 0, Green = 0, Blue = 0;
  bool operator==(const TRgb&) const = default;
};

struct TBox {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const TBox&) const = default;
};

struct TSize {
  int Width = 0, Height = 0;
  bool operator==(const TSize&) const = default;
};

struct TGradientBand {
  TBox Box;
  TRgb Colour;
  bool operator==(const TGradientBand&) const = default;
};

// The bands that fill box from top to bottom in `colours` steps from start to end.
std::vector<TGradientBand> GradientBands(const TBox& box, TRgb start, TRgb end, int colours);

inline constexpr int kBandColours = 32;
inline constexpr TRgb kBandStart{255, 255, 0};
inline constexpr TRgb kBandEnd{0, 0, 255 >> 2};
inline constexpr int kBandTextLift = 5;

// The band down the left side of the menu, for a margin box from the clip box, at a DPI.
struct TBandLayout {
  TBox Gradient;
  std::optional<int> ShadowX;     // etched edge: a shadow column, then a highlight column
  std::optional<int> HighlightX;
  int LineWidth = 1;              // of each of the two
  int TextX = 0, TextY = 0;       // the rotated text's reference point
};
TBandLayout LayoutBand(const TBox& margin, bool newStyleShell, int dpi = kDesignDpi);

// The margin box: the clip box's height, the menu's left margin wide.
TBox MarginBox(const TBox& clipBox, int leftMargin);

// The gap before and after an item's picture, from the check-mark width.
int CheckMarkGap(int checkMarkWidth);

// The caption as it is measured: without "&", with room for the tab stops after it.
std::wstring MeasuredCaption(std::wstring_view caption);

bool IsSeparatorCaption(std::wstring_view caption);

// All in pixels at the menu's DPI, which the item's own gaps are scaled to.
struct TMenuMetrics {
  int MenuHeight = 0;       // SM_CYMENU
  int CheckMarkWidth = 0;
  bool NewStyleShell = true;
  int LeftMargin = 0;
  int MinTextOffset = 0;
  int Dpi = kDesignDpi;
};

// The text sizes the Windows layer measured for one item with its font.
struct TItemTextSizes {
  int CaptionWidth = 0;   // of MeasuredCaption
  int ShortcutWidth = 0;  // of the shortcut text and a blank (level's widest if it has one)
  int SubmenuTabsWidth = 0;  // of two tabs, for an item with a submenu
  int CaptionHeight = 0;
  int DashHeight = 0;     // of "-"
};

struct TItemShape {
  bool Separator = false;
  bool TopLevel = true;
  bool HasSubmenu = false;
  std::optional<TSize> Picture;
};

TSize MeasureMenuItem(const TMenuMetrics& metrics, const TItemShape& shape,
                      const TItemTextSizes& text);

// The room an item's picture takes: at least the picture and a designed pixel either side.
int PictureColumnWidth(int pictureWidth, int minTextOffset, int dpi = kDesignDpi);

// Where an item's parts go inside its rectangle, the left edge already past the band.
struct TItemLayout {
  int PictureX = 0, PictureY = 0;
  int TextX = 0, TextY = 0;
  int SeparatorY = 0;
};
TItemLayout LayoutMenuItem(const TBox& item, int checkMarkWidth, std::optional<TSize> picture,
                           int minTextOffset, int textHeight, int dpi = kDesignDpi);

// The item rectangle a top-level item draws into: right of the band.
TBox ItemBoxPastMargin(const TBox& item, bool topLevel, int leftMargin);
