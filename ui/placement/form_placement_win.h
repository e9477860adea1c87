// The window placement of a real top-level window, kept in the platform's INI files.
#pragma once

#include <windows.h>

#include <utility>

#include "core/private_profile_win.h"
#include "ui/placement/form_placement.h"

// A top-level window as the placement sees it. The application counts as minimised when
// the window or its owner (the application's hidden window) is iconic.
class PlacementWindowWin final : public PlacementWindow {
 public:
  explicit PlacementWindowWin(HWND window) : Window_(window) {}

  bool Exists() const override;
  PlacementRecord Placement() const override;
  void ApplyPlacement(const PlacementRecord& record) override;
  bool Visible() const override;
  BorderStyle Border() const override;
  bool ApplicationMinimised() const override;
  ScreenSize Screen() const override;
  std::int32_t PixelsPerInch() const override;
  std::int32_t Metric(FrameMetric metric) const override;

 private:
  HWND Window_;
};

namespace placement_detail {
// Built before the placement that refers to them.
struct WinParts {
  explicit WinParts(HWND window) : Window(window) {}
  PlacementWindowWin Window;
  PrivateProfileStore Store;
};
}  // namespace placement_detail

// The placement component of one window: its IniFileName, IniSection, Options, Active,
// Version and hooks are those of TFormPlacement.
class TFormPlacementWin : private placement_detail::WinParts, public TFormPlacement {
 public:
  TFormPlacementWin(HWND window, PlacementErrorReport report)
      : WinParts(window), TFormPlacement(Window, Store, std::move(report)) {}
};
