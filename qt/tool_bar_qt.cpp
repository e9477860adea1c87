#include "qt/tool_bar_qt.h"

#include <QEnterEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <iterator>

#include "qt/theme_qt.h"
#include "ui/main_window/toolbar_look.h"

namespace {

Colour ColourOf(QRgb rgb) {
  return static_cast<Colour>(qRed(rgb)) | (static_cast<Colour>(qGreen(rgb)) << 8) |
         (static_cast<Colour>(qBlue(rgb)) << 16);
}

QRgb RgbOf(Colour colour) {
  return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// The glyph's transparent colour is its bottom-left pixel.
QRgb TransparentOf(const QImage& glyph) { return glyph.pixel(0, glyph.height() - 1); }

QImage GreyGlyph(const QImage& glyph, QRgb face) {
  QImage grey = glyph;
  const Colour transparent = ColourOf(TransparentOf(glyph));
  for (int y = 0; y < grey.height(); ++y) {
    for (int x = 0; x < grey.width(); ++x) {
      grey.setPixel(x, y,
                    RgbOf(GreyGlyphPixel(ColourOf(grey.pixel(x, y)), transparent, ColourOf(face))));
    }
  }
  return grey;
}

QPixmap Transparent(const QImage& glyph) {
  QPixmap pixmap = QPixmap::fromImage(glyph);
  pixmap.setMask(pixmap.createMaskFromColor(QColor(TransparentOf(glyph)), Qt::MaskInColor));
  return pixmap;
}

}  // namespace

TToolButton::TToolButton(QWidget* parent, const QString& caption, const QString& hint,
                         const QImage& glyph, std::function<void()> action, QMenu* dropDown)
    : QWidget(parent),
      Caption_(caption),
      Glyph_(glyph),
      GreyGlyph_(GreyGlyph(glyph, palette().color(QPalette::Button).rgb())),
      Action_(std::move(action)),
      DropDown_(dropDown) {
  setToolTip(hint);
  setAccessibleName(caption);
  setFocusPolicy(Qt::NoFocus);
  resize(kToolButtonWidth, kToolButtonHeight);
}

void TToolButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect frame = rect();
  // The raised frame shows only while this program is the active application.
  const bool hot = Hot_ && QGuiApplication::applicationState() == Qt::ApplicationActive;
  if (Pressed_) {
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());
  } else if (hot) {
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());
  }
  const int shift = Pressed_ ? 1 : 0;
  const int textHeight = fontMetrics().height();
  const int contentHeight = kToolGlyphSize + kToolGlyphCaptionGap + textHeight;
  const int glyphLeft = (kToolButtonWidth - kToolGlyphSize) / 2 + shift;
  const int glyphTop = (kToolButtonHeight - contentHeight) / 2 + shift;
  painter.drawPixmap(glyphLeft, glyphTop, Transparent(Hot_ ? Glyph_ : GreyGlyph_));
  if (DropDown_ != nullptr) {
    // The drop-down triangle: 1 pixel right of the glyph, centred on it.
    const int left = glyphLeft + kToolGlyphSize + 1;
    const int top = glyphTop + (kToolGlyphSize - static_cast<int>(std::size(kDropDownRows))) / 2;
    for (int row = 0; row < static_cast<int>(std::size(kDropDownRows)); ++row) {
      painter.fillRect(left + row, top + row, kDropDownRows[row], 1,
                       palette().color(QPalette::ButtonText));
    }
  }
  painter.setPen(palette().color(QPalette::ButtonText));
  painter.drawText(
      QRect(shift, glyphTop + kToolGlyphSize + kToolGlyphCaptionGap, kToolButtonWidth, textHeight),
      Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, Caption_);
}

void TToolButton::enterEvent(QEnterEvent*) {
  Hot_ = true;
  update();
}

void TToolButton::leaveEvent(QEvent*) {
  Hot_ = false;
  update();
}

void TToolButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  Pressed_ = true;
  update();
  if (DropDown_ != nullptr) OpenDropDown();
}

void TToolButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !Pressed_) return;
  Pressed_ = false;
  update();
  // Releasing outside the button cancels.
  if (rect().contains(event->position().toPoint()) && Action_) Action_();
}

// The press never becomes a click: the menu takes the mouse until it closes, and a press
// on the button that closes it is the menu's, so it does not open it again.
void TToolButton::OpenDropDown() {
  DropDown_->exec(mapToGlobal(QPoint(-1, height())));
  Pressed_ = false;
  update();
}

TToolBar::TToolBar(QWidget* parent, const QImage& wallpaper)
    : QWidget(parent), Wallpaper_(wallpaper) {
  setFixedHeight(kToolBarHeight);
}

TToolButton* TToolBar::AddButton(int left, const QString& caption, const QString& hint,
                                 const QImage& glyph, std::function<void()> action,
                                 QMenu* dropDown) {
  auto* button = new TToolButton(this, caption, hint, glyph, std::move(action), dropDown);
  button->move(left, kToolButtonTop);
  Buttons_.push_back(button);
  return button;
}

void TToolBar::FitToWindow(int outerWidth) {
  if (Buttons_.size() < 3) return;
  Buttons_[1]->move(HelpButtonLeft(outerWidth), kToolButtonTop);
  Buttons_[2]->move(ExitButtonLeft(outerWidth), kToolButtonTop);
}

void TToolBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The wallpaper is light: under a dark theme the captions would not show on it.
  if (IsDarkTheme(palette())) {
    painter.fillRect(rect(), palette().color(QPalette::Button));
  } else {
    painter.drawTiledPixmap(rect(), QPixmap::fromImage(Wallpaper_));
  }
  // Etched lines: a shadow row with a highlight row below it, at the top and the bottom.
  const QColor shadow = palette().color(QPalette::Dark);
  const QColor highlight = palette().color(QPalette::Light);
  painter.fillRect(0, 0, width(), 1, shadow);
  painter.fillRect(0, 1, width(), 1, highlight);
  painter.fillRect(0, height() - 2, width(), 1, shadow);
  painter.fillRect(0, height() - 1, width(), 1, highlight);
}
