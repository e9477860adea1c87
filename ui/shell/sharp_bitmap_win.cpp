#include "ui/shell/sharp_bitmap_win.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ui/shell/dpi_scale.h"
#include "ui/shell/gdi_win.h"
#include "ui/shell/sharp_scale.h"

namespace {

// A top-down 32-bit layout: the pixels come and go row by row from the top.
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

TUniqueBitmap ScaleBitmapSharp(HBITMAP bitmap, int width, int height) {
  const SIZE source = BitmapSize(bitmap);
  if (source.cx <= 0 || source.cy <= 0 || width <= 0 || height <= 0) return {};
  const TScreenDc screen;
  BITMAPINFO sourceInfo = TopDown32(source.cx, source.cy);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(source.cx) * source.cy);
  if (GetDIBits(screen.Get(), bitmap, 0, source.cy, pixels.data(), &sourceInfo, DIB_RGB_COLORS) ==
      0)
    return {};
  const std::vector<std::uint32_t> scaled =
      ScalePixelsSharp(pixels, source.cx, source.cy, width, height);
  BITMAPINFO info = TopDown32(width, height);
  void* bits = nullptr;
  TUniqueBitmap result(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!result || bits == nullptr || scaled.empty()) return {};
  std::copy(scaled.begin(), scaled.end(), static_cast<std::uint32_t*>(bits));
  GdiFlush();
  return result;
}

TUniqueBitmap ScaleBitmapToDpi(HBITMAP bitmap, int dpi) {
  const SIZE size = BitmapSize(bitmap);
  return ScaleBitmapSharp(bitmap, ScaleToDpi(size.cx, dpi), ScaleToDpi(size.cy, dpi));
}
