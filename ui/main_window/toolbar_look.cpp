#include "ui/main_window/toolbar_look.h"

#include <iterator>

namespace {

constexpr int kRightGap = 10;

}  // namespace

TToolBarMetrics ToolBarMetricsAtDpi(int dpi) {
  const int top = ScaleToDpi(kToolButtonTop, dpi);
  const int height = ScaleToDpi(kToolButtonHeight, dpi);
  return {ScaleToDpi(kToolButtonWidth, dpi), height, top, top + height + top,
          ScaleToDpi(kToolGlyphSize, dpi), ScaleToDpi(kToolGlyphCaptionGap, dpi),
          LineWidthAtDpi(dpi)};
}

int HelpButtonLeft(int outerWidth, int dpi) {
  return outerWidth - 2 * ScaleToDpi(kToolButtonWidth, dpi) - ScaleToDpi(kRightGap, dpi);
}

int ExitButtonLeft(int outerWidth, int dpi) {
  return outerWidth - ScaleToDpi(kToolButtonWidth, dpi) - ScaleToDpi(kRightGap, dpi);
}

Colour GreyGlyphPixel(Colour pixel, Colour transparent, Colour buttonFace) {
  if (pixel == transparent || pixel == buttonFace) return pixel;
  const Colour red = pixel & 0xFF;
  const Colour green = (pixel >> 8) & 0xFF;
  const Colour blue = (pixel >> 16) & 0xFF;
  const Colour grey = (77 * red + 150 * green + 29 * blue) / 256;
  return grey | (grey << 8) | (grey << 16);
}

std::vector<int> DropDownRowsAtDpi(int dpi) {
  const int rows = ScaleToDpi(static_cast<int>(std::size(kDropDownRows)), dpi);
  std::vector<int> widths;
  for (int row = 0; row < rows; ++row) widths.push_back(2 * (rows - row) - 1);
  return widths;
}
