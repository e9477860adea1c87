// The tray menu as the program draws it: a band down its left side shading from yellow to
// dark blue with the product word reading upward, a 32 x 32 picture before each command
// and the default item in bold, laid out by the decisions of ui/tray/drawn_menu.h.
#pragma once

#include <QMenu>

class TDrawnMenu final : public QMenu {
 public:
  explicit TDrawnMenu(QWidget* parent = nullptr);
  // The menu's commands in order, as the tray menu has them; a null picture is a separator.
  QAction* AddCommand(const QString& caption, const QPixmap& picture);

 protected:
  void paintEvent(QPaintEvent* event) override;
};
