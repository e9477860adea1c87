#include "qt/journal_window_qt.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>
#include <deque>

#include "journal/journal_texts.h"
#include "journal/session_journal.h"
#include "qt/dialog_place_qt.h"
#include "qt/pictures_qt.h"
#include "qt/qt_text.h"

namespace {

constexpr int kWidth = 760;
constexpr int kHeight = 360;
constexpr int kTimeColumnWidth = 120;
constexpr int kNumberColumnWidth = 90;
constexpr int kWhereColumnWidth = 280;
// Between a row's text and the next row.
constexpr int kRowPadding = 6;

enum TColumn { kTimeColumn, kNumberColumn, kWhereColumn, kOutcomeColumn, kColumnCount };

}  // namespace

// The rows the window shows, newest first, as many as the journal keeps.
class TJournalModel final : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(Rows_.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : kColumnCount;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    const TJournalRow& row = Rows_[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
      case kTimeColumn:
        return Q(TimeText(row.Time));
      case kNumberColumn:
        return Q(row.Number);
      case kWhereColumn:
        return Q(WhereText(row.Target));
      default:
        return Q(OutcomeText(row.Outcome));
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static constexpr const wchar_t* kNames[] = {kJournalColumnTime, kJournalColumnNumber,
                                                kJournalColumnWhere, kJournalColumnOutcome};
    return section >= 0 && section < kColumnCount ? Q(kNames[section]) : QVariant();
  }

  void Take(std::vector<TJournalRow> rows) {
    if (rows.empty()) return;
    beginInsertRows({}, 0, static_cast<int>(rows.size()) - 1);
    for (TJournalRow& row : rows) Rows_.push_front(std::move(row));
    endInsertRows();
    if (Rows_.size() <= TSessionJournal::kCapacity) return;
    beginRemoveRows({}, static_cast<int>(TSessionJournal::kCapacity),
                    static_cast<int>(Rows_.size()) - 1);
    Rows_.resize(TSessionJournal::kCapacity);
    endRemoveRows();
  }

  std::uint64_t LastSerial() const { return Rows_.empty() ? 0 : Rows_.front().Serial; }
  const TJournalRow& Row(int row) const { return Rows_[static_cast<std::size_t>(row)]; }

  std::optional<int> RowOf(std::uint64_t serial) const {
    const auto found = std::ranges::find(Rows_, serial, &TJournalRow::Serial);
    if (found == Rows_.end()) return std::nullopt;
    return static_cast<int>(found - Rows_.begin());
  }

 private:
  std::deque<TJournalRow> Rows_;
};

TJournalWindow::TJournalWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName("TJournalWindow");
  setWindowTitle(Q(kJournalTitle));
  setWindowIcon(DeviceIcon());
  resize(kWidth, kHeight);
  Model_ = new TJournalModel(this);
  Table_ = new QTableView(this);
  Table_->setModel(Model_);
  Table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  Table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  Table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table_->setWordWrap(false);
  Table_->verticalHeader()->hide();
  // A list of a thousand cards reads best dense.
  Table_->verticalHeader()->setMinimumSectionSize(1);
  Table_->verticalHeader()->setDefaultSectionSize(Table_->fontMetrics().height() + kRowPadding);
  Table_->horizontalHeader()->setStretchLastSection(true);
  Table_->setColumnWidth(kTimeColumn, kTimeColumnWidth);
  Table_->setColumnWidth(kNumberColumn, kNumberColumnWidth);
  Table_->setColumnWidth(kWhereColumn, kWhereColumnWidth);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Table_);

  // Ctrl+C anywhere in the window, and the same command in the rows' context menu.
  Copy_ = new QAction(Q(kJournalCopyNumber), this);
  Copy_->setShortcut(QKeySequence::Copy);
  Copy_->setShortcutContext(Qt::WindowShortcut);
  addAction(Copy_);
  connect(Copy_, &QAction::triggered, this, [this] { CopyNumbers(); });
  Table_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu(this);
    menu.addAction(Copy_);
    Copy_->setEnabled(Table_->selectionModel()->hasSelection());
    menu.exec(Table_->viewport()->mapToGlobal(at));
    Copy_->setEnabled(true);
  });
  Refresh();
}

void TJournalWindow::Refresh() { Model_->Take(Journal.RowsAfter(Model_->LastSerial())); }

void TJournalWindow::Open(std::optional<std::uint64_t> serial) {
  Refresh();
  if (isHidden()) CentreDialog(*this);
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
  Table_->setFocus();
  if (serial) Select(*serial);
}

void TJournalWindow::Select(std::uint64_t serial) {
  const std::optional<int> row = Model_->RowOf(serial);
  if (!row) return;
  const QModelIndex index = Model_->index(*row, 0);
  Table_->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  Table_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

// The numbers one per line, in the order the window shows them.
void TJournalWindow::CopyNumbers() {
  QModelIndexList chosen = Table_->selectionModel()->selectedRows();
  if (chosen.isEmpty()) return;
  std::ranges::sort(chosen, {}, &QModelIndex::row);
  QStringList numbers;
  for (const QModelIndex& index : chosen) numbers << Q(Model_->Row(index.row()).Number);
  QGuiApplication::clipboard()->setText(numbers.join('\n'));
}
