#include "tests/support/tray_icon_look.h"

#include <windows.h>

#include <vector>

#include "tests/support/screen_pixels.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"

namespace {

std::vector<HWND> ShownIcons() {
  std::vector<HWND> shown;
  const HWND tray = FindWindowW(window_class::kWineTray, nullptr);
  if (tray == nullptr) return shown;
  for (HWND icon : ChildrenOfClass(tray, window_class::kWineTrayIcon))
    if (IsWindowVisible(icon)) shown.push_back(icon);
  return shown;
}

}  // namespace

int ShownTrayIcons() { return static_cast<int>(ShownIcons().size()); }

TIconColours ShownIconColours() {
  const std::vector<HWND> icons = ShownIcons();
  if (icons.size() != 1) return {};
  const TScreenPixels pixels = TScreenPixels::OfWindow(icons.front());
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
