#include "tests/support/screen_pixels.h"

#include <fstream>

#include "ui/shell/gdi_win.h"

namespace {

// A top-down (negative height) or bottom-up picture of plain pixels.
BITMAPINFOHEADER PictureHeader(int width, int height, WORD bitsPerPixel) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = bitsPerPixel;
  header.biCompression = BI_RGB;
  return header;
}

}  // namespace

TScreenPixels::TScreenPixels(const RECT& area)
    : Width_(area.right > area.left ? area.right - area.left : 0),
      Height_(area.bottom > area.top ? area.bottom - area.top : 0) {
  if (Width_ == 0 || Height_ == 0) return;
  BITMAPINFO info{};
  info.bmiHeader = PictureHeader(Width_, -Height_, 32);
  const TScreenDc screen;
  const TMemoryDc memory(screen.Get());
  void* bits = nullptr;
  const TUniqueBitmap bitmap(
      CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return;
  {
    const TSelectObjectScope select(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, Width_, Height_, screen.Get(), area.left, area.top, SRCCOPY);
    GdiFlush();
  }
  const auto* first = static_cast<const std::uint32_t*>(bits);
  Pixels_.assign(first, first + static_cast<std::size_t>(Width_) * Height_);
}

TScreenPixels TScreenPixels::OfWindow(HWND window) {
  RECT area{};
  GetWindowRect(window, &area);
  return TScreenPixels(area);
}

TScreenPixels TScreenPixels::WholeScreen() {
  return TScreenPixels({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

COLORREF TScreenPixels::At(int x, int y) const {
  const std::uint32_t pixel = Pixels_.at(static_cast<std::size_t>(y) * Width_ + x);
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int TScreenPixels::Count(const std::function<bool(COLORREF)>& matches) const {
  int count = 0;
  for (int y = 0; y < Height_ && !Pixels_.empty(); ++y)
    for (int x = 0; x < Width_; ++x) count += matches(At(x, y)) ? 1 : 0;
  return count;
}

bool TScreenPixels::SaveBitmap(const std::filesystem::path& file) const {
  if (Pixels_.empty()) return false;
  const DWORD stride = ((Width_ * 3 + 3) / 4) * 4;
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride) * Height_, 0);
  for (int y = 0; y < Height_; ++y) {
    std::uint8_t* row = rows.data() + static_cast<std::size_t>(Height_ - 1 - y) * stride;
    for (int x = 0; x < Width_; ++x) {
      const COLORREF pixel = At(x, y);
      row[x * 3] = GetBValue(pixel);
      row[x * 3 + 1] = GetGValue(pixel);
      row[x * 3 + 2] = GetRValue(pixel);
    }
  }
  const BITMAPINFOHEADER info = PictureHeader(Width_, Height_, 24);
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  const BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(offset + rows.size()), 0, 0, offset};
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(reinterpret_cast<const char*>(rows.data()), static_cast<std::streamsize>(rows.size()));
  out.close();
  return !out.fail();
}

bool StronglyGreen(COLORREF pixel) {
  return GetGValue(pixel) > GetRValue(pixel) + 80 && GetGValue(pixel) > GetBValue(pixel) + 80;
}

bool StronglyRed(COLORREF pixel) {
  return GetRValue(pixel) > GetGValue(pixel) + 80 && GetRValue(pixel) > GetBValue(pixel) + 80;
}
