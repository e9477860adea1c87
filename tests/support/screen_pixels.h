// What the screen shows in a rectangle, read once as the user sees it: for colours on a
// window, and for pictures left behind to look at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

class TScreenPixels {
 public:
  // area in screen coordinates.
  explicit TScreenPixels(const RECT& area);
  static TScreenPixels OfWindow(HWND window);
  static TScreenPixels WholeScreen();

  int Width() const { return Width_; }
  int Height() const { return Height_; }
  // x and y from the area's top left.
  COLORREF At(int x, int y) const;
  int Count(const std::function<bool(COLORREF)>& matches) const;
  bool Shows(COLORREF colour) const {
    return Count([colour](COLORREF pixel) { return pixel == colour; }) > 0;
  }
  // A 24-bit bitmap file.
  bool SaveBitmap(const std::filesystem::path& file) const;

 private:
  int Width_ = 0;
  int Height_ = 0;
  std::vector<std::uint32_t> Pixels_;  // top row first, 0x00RRGGBB
};

// A pixel that is clearly green or clearly red, whatever its exact shade.
bool StronglyGreen(COLORREF pixel);
bool StronglyRed(COLORREF pixel);
