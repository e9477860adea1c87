#include "ui/main_window/toolbar_look.h"

int HelpButtonLeft(int outerWidth) { return outerWidth - 2 * kToolButtonWidth - 10; }

int ExitButtonLeft(int outerWidth) { return outerWidth - kToolButtonWidth - 10; }

Colour GreyGlyphPixel(Colour pixel, Colour transparent, Colour buttonFace) {
  if (pixel == transparent || pixel == buttonFace) return pixel;
  const Colour red = pixel & 0xFF;
  const Colour green = (pixel >> 8) & 0xFF;
  const Colour blue = (pixel >> 16) & 0xFF;
  const Colour grey = (77 * red + 150 * green + 29 * blue) / 256;
  return grey | (grey << 8) | (grey << 16);
}
