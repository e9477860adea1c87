#include "ui/shell/designed_font_win.h"

#include <cwchar>

#include "ui/shell/dpi_scale.h"

LOGFONTW DesignedLogFont(int points, int dpi) {
  LOGFONTW font{};
  font.lfHeight = FontHeightAtDpi(points, dpi);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = RUSSIAN_CHARSET;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  wcscpy_s(font.lfFaceName, kDesignedFontFace);
  return font;
}

TUniqueFont CreateDesignedFont(int points, int dpi) {
  const LOGFONTW font = DesignedLogFont(points, dpi);
  return TUniqueFont(CreateFontIndirectW(&font));
}

LOGFONTW WithCyrillic(LOGFONTW font) {
  font.lfCharSet = RUSSIAN_CHARSET;
  return font;
}
