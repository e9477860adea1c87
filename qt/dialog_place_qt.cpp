#include "qt/dialog_place_qt.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <algorithm>

namespace {

const QWidget* ShownMainWindow() {
  for (const QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == "TLintavoForm" && window->isVisible() && !window->isMinimized())
      return window;
  }
  return nullptr;
}

}  // namespace

void CentreDialog(QWidget& dialog) {
  const QWidget* main = ShownMainWindow();
  QScreen* screen = main != nullptr ? main->screen() : QGuiApplication::screenAt(QCursor::pos());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  const QRect area = screen->availableGeometry();
  const QRect over = main != nullptr ? main->frameGeometry() : area;
  QRect placed(QPoint(0, 0), dialog.frameGeometry().size());
  placed.moveCenter(over.center());
  const int right = std::max(area.left(), area.right() - placed.width() + 1);
  const int bottom = std::max(area.top(), area.bottom() - placed.height() + 1);
  placed.moveLeft(std::clamp(placed.left(), area.left(), right));
  placed.moveTop(std::clamp(placed.top(), area.top(), bottom));
  dialog.move(placed.topLeft());
}
