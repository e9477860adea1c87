#include "tests/support/display_size.h"

namespace {

SIZE CurrentSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

bool SameSize(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

}  // namespace

TDisplaySize::TDisplaySize() : Original_(CurrentSize()) {}

TDisplaySize::~TDisplaySize() {
  if (Changed_) Switch(Original_);
}

std::optional<SIZE> TDisplaySize::OtherOffered() const {
  std::optional<SIZE> largest;
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  for (DWORD i = 0; EnumDisplaySettingsW(nullptr, i, &mode); ++i) {
    const SIZE offered{static_cast<LONG>(mode.dmPelsWidth), static_cast<LONG>(mode.dmPelsHeight)};
    if (SameSize(offered, Original_)) continue;
    if (!largest || offered.cx * offered.cy > largest->cx * largest->cy) largest = offered;
  }
  return largest;
}

bool TDisplaySize::Switch(SIZE size) {
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  mode.dmPelsWidth = static_cast<DWORD>(size.cx);
  mode.dmPelsHeight = static_cast<DWORD>(size.cy);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  Changed_ = true;
  return ChangeDisplaySettingsW(&mode, 0) == DISP_CHANGE_SUCCESSFUL &&
         SameSize(CurrentSize(), size);
}
