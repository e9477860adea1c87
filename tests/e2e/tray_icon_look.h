// What the notification area shows of the program's icon, read off the screen: with no task
// bar Wine keeps the icons as windows of a tray window of its own.
#pragma once

#include <windows.h>

namespace e2e {

struct TIconColours {
  int Green = 0;
  int Red = 0;
};

// Counts the strongly green and strongly red pixels of the shown icon.
inline TIconColours ShownIconColours() {
  TIconColours colours;
  const HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
  const HWND icon = tray != nullptr ? FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr)
                                    : nullptr;
  RECT rect{};
  if (icon == nullptr || !GetWindowRect(icon, &rect)) return colours;
  const HDC screen = GetDC(nullptr);
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const COLORREF pixel = GetPixel(screen, x, y);
      const int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
      if (g > r + 80 && g > b + 80) ++colours.Green;
      if (r > g + 80 && r > b + 80) ++colours.Red;
    }
  }
  ReleaseDC(nullptr, screen);
  return colours;
}

// The failure picture: red and no green.
inline bool IconShowsFailure() {
  const TIconColours colours = ShownIconColours();
  return colours.Red > 10 && colours.Green == 0;
}

// The open-port picture: green and no red.
inline bool IconShowsOpen() {
  const TIconColours colours = ShownIconColours();
  return colours.Green > 10 && colours.Red == 0;
}

}  // namespace e2e
