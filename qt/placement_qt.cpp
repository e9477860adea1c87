#include "qt/placement_qt.h"

#include <QApplication>
#include <QScreen>

namespace {
constexpr std::int32_t kShowCmdNormal = 1;  // SW_SHOWNORMAL
}  // namespace

PlacementRecord TQtPlacementWindow::Placement() const {
  PlacementRecord record;
  record.showCmd =
      Window_.isVisible() && !Window_.isMinimized() ? kShowCmdNormal : kShowCmdMinimized;
  record.minPosition = {-1, -1};
  record.maxPosition = {-1, -1};
  const QPoint origin = Window_.pos();
  record.normalPosition = {origin.x(), origin.y(), origin.x() + Window_.width(),
                           origin.y() + Window_.height()};
  return record;
}

void TQtPlacementWindow::ApplyPlacement(const PlacementRecord& record) {
  const PlacementRect& normal = record.normalPosition;
  Window_.move(normal.left, normal.top);
  Window_.resize(normal.right - normal.left, normal.bottom - normal.top);
  if (record.showCmd != kShowCmdHide && !Window_.isVisible()) Window_.show();
}

bool TQtPlacementWindow::ApplicationMinimised() const {
  return Window_.isMinimized() || !Window_.isVisible();
}

ScreenSize TQtPlacementWindow::Screen() const {
  const QSize size = QApplication::primaryScreen()->size();
  return {size.width(), size.height()};
}

std::int32_t TQtPlacementWindow::PixelsPerInch() const {
  return static_cast<std::int32_t>(QApplication::primaryScreen()->logicalDotsPerInchY());
}
