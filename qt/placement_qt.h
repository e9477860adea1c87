// The main window's placement kept in the settings file, by the decisions of
// ui/placement/form_placement.h. A Qt window is placed in the window system's own terms:
// NormPos holds the frame's top-left corner and the window's inside width and height, the
// same way for writing and for reading.
#pragma once

#include <QWidget>

#include "ui/placement/form_placement.h"

class TQtPlacementWindow final : public PlacementWindow {
 public:
  explicit TQtPlacementWindow(QWidget& window) : Window_(window) {}

  bool Exists() const override { return true; }
  PlacementRecord Placement() const override;
  void ApplyPlacement(const PlacementRecord& record) override;
  bool Visible() const override { return Window_.isVisible(); }
  BorderStyle Border() const override { return BorderStyle::Sizeable; }
  bool ApplicationMinimised() const override;
  ScreenSize Screen() const override;
  std::int32_t PixelsPerInch() const override;
  // The window manager draws the frame; the program knows no size of it.
  std::int32_t Metric(FrameMetric) const override { return 0; }

 private:
  QWidget& Window_;
};
