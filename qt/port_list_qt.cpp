#include "qt/port_list_qt.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "qt/qt_text.h"

namespace {

constexpr int kRowKey = Qt::UserRole;

QColor TextColourOf(RowTextColour colour, const QPalette& palette) {
  switch (colour) {
    case RowTextColour::HighlightText:
      return palette.color(QPalette::HighlightedText);
    case RowTextColour::GrayText:
      return palette.color(QPalette::Disabled, QPalette::Text);
    case RowTextColour::InactiveCaptionText:
      return palette.color(QPalette::Inactive, QPalette::WindowText);
    case RowTextColour::WindowText:
      break;
  }
  return palette.color(QPalette::Text);
}

// A white box, or grey for a disabled row; a green tick, or a hollow one when disabled.
void DrawCheckImage(QPainter& painter, const QRect& cell, CheckImage image) {
  const QRect box(cell.left() + (kCheckColumnWidth - kCheckImageWidth) / 2 + 1,
                  cell.top() + (cell.height() - kCheckImageHeight) / 2 + 1, kCheckImageHeight - 2,
                  kCheckImageHeight - 2);
  const bool grey = image == CheckImage::GreyBox || image == CheckImage::HollowTick;
  painter.fillRect(box, grey ? QColor(192, 192, 192) : Qt::white);
  painter.setPen(QColor(128, 128, 128));
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  if (image == CheckImage::Box || image == CheckImage::GreyBox) return;
  const QPoint tick[] = {{box.left() + 2, box.top() + 5},
                         {box.left() + 4, box.top() + 7},
                         {box.left() + 8, box.top() + 2}};
  painter.setPen(QPen(image == CheckImage::Tick ? QColor(0, 128, 0) : QColor(128, 128, 128),
                      image == CheckImage::Tick ? 2 : 1));
  painter.drawPolyline(tick, 3);
}

class TRowDelegate final : public QStyledItemDelegate {
 public:
  TRowDelegate(QObject* parent, const std::vector<TPortItem>& items)
      : QStyledItemDelegate(parent), Items_(items) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const auto row = static_cast<std::size_t>(index.data(kRowKey).toInt());
    if (row >= Items_.size()) return;
    const TPortItem& item = Items_[row];
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QRect text = option.rect.adjusted(kCheckColumnWidth, 0, 0, 0);
    if (selected) painter->fillRect(text, option.palette.color(QPalette::Highlight));
    DrawCheckImage(*painter, option.rect, CheckImageOf(item));
    painter->setPen(TextColourOf(RowTextColourOf(item, selected), option.palette));
    painter->drawText(text.adjusted(2, 0, 0, 0),
                      Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, Q(item.Text));
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {0, kPortRowHeight};
  }

 private:
  const std::vector<TPortItem>& Items_;
};

}  // namespace

TPortList::TPortList(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new TRowDelegate(this, Items_));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // A new selection, by the mouse or the arrow keys, is the list's click.
  connect(this, &QListWidget::currentRowChanged, this, [this](int row) { Click(row); });
}

void TPortList::SetItems(std::vector<TPortItem> items) {
  const QSignalBlocker quiet(this);
  Items_ = std::move(items);
  clear();
  for (std::size_t row = 0; row < Items_.size(); ++row) {
    auto* entry = new QListWidgetItem(Q(Items_[row].Text), this);
    entry->setData(kRowKey, static_cast<int>(row));
    // The row's state for whoever reads the list from outside, as on Windows.
    entry->setData(Qt::AccessibleDescriptionRole, static_cast<int>(RowStateBits(Items_[row])));
  }
}

void TPortList::Click(int row) {
  ClickRow(Items_, row);
  Refresh();
}

void TPortList::Refresh() {
  for (int row = 0; row < count(); ++row) {
    item(row)->setData(Qt::AccessibleDescriptionRole,
                       static_cast<int>(RowStateBits(Items_[static_cast<std::size_t>(row)])));
  }
  viewport()->update();
}

void TPortList::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const int row = indexAt(at).row();
  if (row >= 0 && InCheckColumn(at.x()) && ToggleRow(Items_, row)) Refresh();
  QListWidget::mousePressEvent(event);
}

void TPortList::mouseReleaseEvent(QMouseEvent* event) {
  QListWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) Click(currentRow());
}

void TPortList::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  const ListKey key = text.size() == 1 ? ListKeyOf(text.at(0).unicode()) : ListKey::None;
  switch (key) {
    case ListKey::Toggle:
      if (ToggleRow(Items_, currentRow())) Refresh();
      return;
    case ListKey::CheckAll:
    case ListKey::UncheckAll:
      CheckEnabledRows(Items_, key == ListKey::CheckAll);
      Refresh();
      return;
    case ListKey::None:
      break;
  }
  QListWidget::keyPressEvent(event);
}
