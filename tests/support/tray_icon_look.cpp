#include "tests/support/tray_icon_look.h"

#include <windows.h>

#include <vector>

#include "tests/support/screen_pixels.h"
#include "tests/support/window_classes.h"

namespace {

constexpr int kIconBorder = 2;

// The task bar's client area on the screen, or an empty rectangle without a task bar.
RECT TaskBarArea() {
  RECT area{};
  const HWND bar = FindWindowW(window_class::kTaskBar, nullptr);
  if (bar == nullptr || !IsWindowVisible(bar)) return area;
  GetClientRect(bar, &area);
  MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

// Whether any pixel of the cell differs from its border, which no icon paints.
bool CellHoldsIcon(const TScreenPixels& bar, int left, int width) {
  const COLORREF background = bar.At(left, bar.Height() / 2);
  for (int y = 0; y < bar.Height(); ++y)
    for (int x = left; x < left + width; ++x)
      if (bar.At(x, y) != background) return true;
  return false;
}

// The screen rectangles of the cells that show an icon, rightmost first.
std::vector<RECT> ShownIconCells() {
  std::vector<RECT> cells;
  const RECT area = TaskBarArea();
  const TScreenPixels bar(area);
  const int width = GetSystemMetrics(SM_CXSMICON) + 2 * kIconBorder;
  for (int left = bar.Width() - width; left >= 0 && CellHoldsIcon(bar, left, width);
       left -= width)
    cells.push_back({area.left + left, area.top, area.left + left + width, area.bottom});
  return cells;
}

}  // namespace

int ShownTrayIcons() { return static_cast<int>(ShownIconCells().size()); }

TIconColours ShownIconColours() {
  const std::vector<RECT> cells = ShownIconCells();
  if (cells.size() != 1) return {};
  const TScreenPixels pixels(cells.front());
  return {pixels.Count(&StronglyGreen), pixels.Count(&StronglyRed)};
}

bool IconShowsFailure() {
  const TIconColours colours = ShownIconColours();
  return colours.Red > 10 && colours.Green == 0;
}

bool IconShowsOpen() {
  const TIconColours colours = ShownIconColours();
  return colours.Green > 10 && colours.Red == 0;
}
