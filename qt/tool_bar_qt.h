// The main window's toolbar: the wallpaper tiled under three flat buttons that show their
// glyph above their caption, grey until the mouse is over them, with etched lines along the
// top and the bottom edge. Geometry and greying come from ui/main_window/toolbar_look.h.
#pragma once

#include <QImage>
#include <QMenu>
#include <QWidget>
#include <functional>
#include <vector>

class TToolButton final : public QWidget {
 public:
  // `action` runs on a click (press and release inside); a button with a `dropDown` menu
  // opens it at once on a press instead, below its bottom edge.
  TToolButton(QWidget* parent, const QString& caption, const QString& hint, const QImage& glyph,
              std::function<void()> action, QMenu* dropDown);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void OpenDropDown();

  QString Caption_;
  QImage Glyph_;
  QImage GreyGlyph_;
  std::function<void()> Action_;
  QMenu* DropDown_;
  bool Hot_ = false;
  bool Pressed_ = false;
};

class TToolBar final : public QWidget {
 public:
  TToolBar(QWidget* parent, const QImage& wallpaper);
  TToolButton* AddButton(int left, const QString& caption, const QString& hint, const QImage& glyph,
                         std::function<void()> action, QMenu* dropDown = nullptr);
  // Keeps the help and exit buttons at the right edge of a window this wide, frame included.
  void FitToWindow(int outerWidth);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage Wallpaper_;
  std::vector<TToolButton*> Buttons_;
};
