// The desktop's theme as the windows need to know it: a dark one (light text on a dark
// window) takes no light picture under its text and no dark colour on its background.
#pragma once

#include <QColor>
#include <QPalette>

inline bool IsDarkTheme(const QPalette& palette) {
  return palette.color(QPalette::Window).lightness() < 128;
}

// A state colour (the port's dark green) made readable on the theme's window.
inline QColor ReadableOn(const QPalette& palette, const QColor& colour) {
  constexpr int kDarkest = 100;
  return IsDarkTheme(palette) && colour.lightness() < kDarkest ? colour.lighter(200) : colour;
}
