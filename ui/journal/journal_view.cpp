#include "ui/journal/journal_view.h"

#include <algorithm>

#include "journal/session_journal.h"

void TJournalView::Add(std::span<const TJournalRow> rows) {
  for (const TJournalRow& row : rows) {
    if (row.Serial <= LastSerial()) continue;
    Rows_.push_back(row);
  }
  while (Rows_.size() > TSessionJournal::kCapacity) Rows_.pop_front();
}

const TJournalRow& TJournalView::RowAt(std::size_t line) const {
  return Rows_[Rows_.size() - 1 - line];
}

std::wstring TJournalView::CellText(std::size_t line, TJournalColumn column) const {
  const TJournalRow& row = RowAt(line);
  switch (column) {
    case TJournalColumn::Time:
      return TimeText(row.Time);
    case TJournalColumn::Number:
      return row.Number;
    case TJournalColumn::Where:
      return WhereText(row.Target);
    case TJournalColumn::Outcome:
      return OutcomeText(row.Outcome);
  }
  return {};
}

// Serials grow with the rows, so the line is found by halving.
std::optional<std::size_t> TJournalView::LineOf(std::uint64_t serial) const {
  const auto found = std::lower_bound(
      Rows_.begin(), Rows_.end(), serial,
      [](const TJournalRow& row, std::uint64_t value) { return row.Serial < value; });
  if (found == Rows_.end() || found->Serial != serial) return std::nullopt;
  return static_cast<std::size_t>(Rows_.end() - found) - 1;
}

std::wstring TJournalView::NumbersText(std::span<const std::size_t> lines) const {
  std::vector<std::size_t> sorted(lines.begin(), lines.end());
  std::sort(sorted.begin(), sorted.end());
  std::wstring text;
  for (const std::size_t line : sorted) {
    if (line >= Count()) continue;
    if (!text.empty()) text += L"\r\n";
    text += RowAt(line).Number;
  }
  return text;
}
