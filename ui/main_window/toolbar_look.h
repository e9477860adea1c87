// The toolbar's geometry and its greyed glyphs.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/main_window/main_status.h"
#include "ui/shell/dpi_scale.h"

// Designed at 96 DPI.
inline constexpr int kToolButtonWidth = 64;
inline constexpr int kToolButtonHeight = 51;
inline constexpr int kToolButtonTop = 3;
inline constexpr int kToolBarHeight = kToolButtonTop + kToolButtonHeight + 3;
inline constexpr int kToolGlyphSize = 32;
inline constexpr int kToolGlyphCaptionGap = 1;
inline constexpr int kSetupButtonLeft = 3;

// The toolbar at a DPI.
struct TToolBarMetrics {
  int ButtonWidth;
  int ButtonHeight;
  int ButtonTop;
  int BarHeight;  // the gap below the buttons as wide as the one above
  int GlyphSize;
  int GlyphCaptionGap;
  int LineWidth;  // the etched lines' rows and the buttons' frames
};
TToolBarMetrics ToolBarMetricsAtDpi(int dpi);

// The help and exit buttons keep to the right edge: the exit button's right end stays 10
// pixels (at 96 DPI) inside the window's outer right edge, the help button directly left
// of it.
int HelpButtonLeft(int outerWidth, int dpi = kDesignDpi);
int ExitButtonLeft(int outerWidth, int dpi = kDesignDpi);

// A glyph pixel as drawn while the mouse is not over its button: its grey level
// (77 R + 150 G + 29 B) / 256, except for the transparent colour and the button face.
Colour GreyGlyphPixel(Colour pixel, Colour transparent, Colour buttonFace);

// Widths of the drop-down triangle's rows, top to bottom.
inline constexpr int kDropDownRows[] = {7, 5, 3, 1};
// The same triangle at a DPI: as many rows as the designed four scale to, narrowing by two.
std::vector<int> DropDownRowsAtDpi(int dpi);
