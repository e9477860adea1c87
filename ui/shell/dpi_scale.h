// The program's windows are designed in pixels at 96 dots per inch; at any other DPI every
// designed length is scaled, so a window at 144 DPI is one and a half times as large.
#pragma once

inline constexpr int kDesignDpi = 96;

// A designed length at the DPI, rounded to the nearest pixel (half away from zero).
int ScaleToDpi(int designed, int dpi);

// A designed one-pixel line at the DPI: whole pixels only, so an etched edge or a frame
// stays crisp (1 up to 191 DPI, 2 from 192).
int LineWidthAtDpi(int dpi);

// The character height of a font of `points` at the DPI, negative as the platform wants it.
int FontHeightAtDpi(int points, int dpi);

struct TDesignedRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TDesignedRect&) const = default;
};

// Each of the rectangle's numbers scaled on its own, so equal designed sizes stay equal.
TDesignedRect ScaleRectToDpi(const TDesignedRect& designed, int dpi);
