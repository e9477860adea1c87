#include "qt/pictures_qt.h"

#include <QBitmap>
#include <QString>

#include "ui/tray/drawn_menu.h"

namespace {

constexpr int kStripCols = 4;
constexpr int kCellSize = 32;

QString PicturePath(const char* name) { return QStringLiteral(":/pictures/") + name; }

}  // namespace

QIcon StateIcon(int portFailed) {
  return QIcon(PicturePath(portFailed != 0 ? "tray_red.ico" : "tray_green.ico"));
}

QIcon DeviceIcon() { return QIcon(PicturePath("tray_device.ico")); }

QImage ToolbarPicture(const char* name) {
  return QImage(PicturePath(name)).convertToFormat(QImage::Format_RGB32);
}

QPixmap StripCell(int index) {
  static const QImage strip(PicturePath("tray_menu_strip.bmp"));
  if (index < 0 || index >= kStripCols) return {};
  QPixmap cell = QPixmap::fromImage(strip.copy(index * kCellSize, 0, kCellSize, kCellSize));
  // The strip's transparent colour is its bottom-left pixel.
  const QColor mask = strip.pixelColor(0, strip.height() - 1);
  cell.setMask(cell.createMaskFromColor(mask, Qt::MaskInColor));
  return cell;
}
