#include "ui/placement/form_placement_win.h"

#include "ui/shell/display_win.h"

namespace {

PlacementPoint FromPoint(const POINT& point) { return {point.x, point.y}; }
POINT ToPoint(const PlacementPoint& point) { return {point.x, point.y}; }

}  // namespace

bool PlacementWindowWin::Exists() const { return Window_ != nullptr && IsWindow(Window_); }

PlacementRecord PlacementWindowWin::Placement() const {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  GetWindowPlacement(Window_, &placement);
  const RECT& normal = placement.rcNormalPosition;
  return {static_cast<std::int32_t>(placement.flags),
          static_cast<std::int32_t>(placement.showCmd),
          FromPoint(placement.ptMinPosition),
          FromPoint(placement.ptMaxPosition),
          {normal.left, normal.top, normal.right, normal.bottom}};
}

void PlacementWindowWin::ApplyPlacement(const PlacementRecord& record) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  placement.flags = static_cast<UINT>(record.flags);
  placement.showCmd = static_cast<UINT>(record.showCmd);
  placement.ptMinPosition = ToPoint(record.minPosition);
  placement.ptMaxPosition = ToPoint(record.maxPosition);
  const PlacementRect& normal = record.normalPosition;
  placement.rcNormalPosition = {normal.left, normal.top, normal.right, normal.bottom};
  SetWindowPlacement(Window_, &placement);
}

bool PlacementWindowWin::Visible() const { return IsWindowVisible(Window_) != FALSE; }

BorderStyle PlacementWindowWin::Border() const {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(Window_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Window_, GWL_EXSTYLE));
  return BorderStyleOf({(style & WS_THICKFRAME) != 0, (style & (WS_BORDER | WS_DLGFRAME)) != 0,
                        (exStyle & WS_EX_DLGMODALFRAME) != 0, (exStyle & WS_EX_TOOLWINDOW) != 0});
}

bool PlacementWindowWin::ApplicationMinimised() const {
  const HWND owner = GetWindow(Window_, GW_OWNER);
  return IsIconic(Window_) || (owner != nullptr && IsIconic(owner));
}

ScreenSize PlacementWindowWin::Screen() const {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The DPI the window is laid out at: that of the screen it stands on, which before
// per-monitor scaling is the screen's logical pixels per inch.
std::int32_t PlacementWindowWin::PixelsPerInch() const { return WindowDpi(Window_); }

std::int32_t PlacementWindowWin::Metric(FrameMetric metric) const {
  switch (metric) {
    case FrameMetric::CxBorder: return GetSystemMetrics(SM_CXBORDER);
    case FrameMetric::CyBorder: return GetSystemMetrics(SM_CYBORDER);
    case FrameMetric::CxFrame: return GetSystemMetrics(SM_CXFRAME);
    case FrameMetric::CyFrame: return GetSystemMetrics(SM_CYFRAME);
    case FrameMetric::CxDlgFrame: return GetSystemMetrics(SM_CXDLGFRAME);
    case FrameMetric::CyDlgFrame: return GetSystemMetrics(SM_CYDLGFRAME);
  }
  return 0;
}
