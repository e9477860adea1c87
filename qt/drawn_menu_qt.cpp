#include "qt/drawn_menu_qt.h"

#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>

#include "core/common.h"
#include "qt/qt_text.h"
#include "ui/shell/texts.h"
#include "ui/tray/drawn_menu.h"

namespace {

constexpr int kLeftMargin = 24;
constexpr int kPictureSize = 32;
constexpr int kBandFontPoints = 14;

// Menu pictures at their own 32 pixels, which makes each command at least 36 high.
class TMenuStyle final : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_SmallIconSize) return kPictureSize;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

QColor ColourOf(TRgb rgb) { return {rgb.Red, rgb.Green, rgb.Blue}; }

void DrawBand(QPainter& painter, const TBox& margin) {
  const TBandLayout layout = LayoutBand(margin, NewStyleShell);
  for (const TGradientBand& band :
       GradientBands(layout.Gradient, kBandStart, kBandEnd, kBandColours)) {
    painter.fillRect(
        QRect(QPoint(band.Box.Left, band.Box.Top), QPoint(band.Box.Right - 1, band.Box.Bottom - 1)),
        ColourOf(band.Colour));
  }
  const QPalette palette;
  if (layout.ShadowX) {
    painter.fillRect(*layout.ShadowX, margin.Top, 1, margin.Bottom - margin.Top,
                     palette.color(QPalette::Dark));
  }
  if (layout.HighlightX) {
    painter.fillRect(*layout.HighlightX, margin.Top, 1, margin.Bottom - margin.Top,
                     palette.color(QPalette::Light));
  }
  QFont font("Courier New");
  font.setPointSize(kBandFontPoints);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.setClipRect(
      QRect(QPoint(margin.Left, margin.Top), QPoint(margin.Right - 1, margin.Bottom - 1)),
      Qt::IntersectClip);
  // Turned a quarter to the left, so the word reads upward from the reference point.
  painter.translate(layout.TextX, layout.TextY);
  painter.rotate(-90);
  painter.drawText(0, painter.fontMetrics().ascent(), Q(kTrayBandText));
}

}  // namespace

TDrawnMenu::TDrawnMenu(QWidget* parent) : QMenu(parent) {
  auto* style = new TMenuStyle;
  style->setParent(this);
  setStyle(style);
  // Items start right of the band and its one-pixel gap.
  setContentsMargins(kLeftMargin + 1, 0, 0, 0);
}

QAction* TDrawnMenu::AddCommand(const QString& caption, const QPixmap& picture) {
  if (picture.isNull()) return addSeparator();
  return addAction(QIcon(picture), caption);
}

void TDrawnMenu::paintEvent(QPaintEvent* event) {
  QMenu::paintEvent(event);
  QPainter painter(this);
  // Qt repaints a selection change over the whole width, band included; the band is laid
  // out over the whole menu and the painter keeps to what is being repainted.
  painter.setClipRegion(event->region());
  DrawBand(painter, MarginBox({0, 0, width(), height()}, kLeftMargin));
}
