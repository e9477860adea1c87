#include "ui/shell/dpi_scale.h"

#include <algorithm>

#include "ui/shell/mul_div.h"

int ScaleToDpi(int designed, int dpi) { return MulDivRound(designed, dpi, kDesignDpi); }

int LineWidthAtDpi(int dpi) { return std::max(1, dpi / kDesignDpi); }

int FontHeightAtDpi(int points, int dpi) { return -MulDivRound(points, dpi, 72); }

TDesignedRect ScaleRectToDpi(const TDesignedRect& designed, int dpi) {
  return {ScaleToDpi(designed.Left, dpi), ScaleToDpi(designed.Top, dpi),
          ScaleToDpi(designed.Width, dpi), ScaleToDpi(designed.Height, dpi)};
}
