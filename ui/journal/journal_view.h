// What the window «Журнал карт» shows: the rows of the journal newest on top, the text of each
// cell, where a card stands in the list, and the numbers the operator copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "journal/journal_row.h"

enum class TJournalColumn { Time, Number, Where, Outcome };
inline constexpr std::size_t kJournalColumnCount = 4;

class TJournalView {
 public:
  // Takes the rows the journal added since the last look, oldest first; the oldest rows go
  // beyond what the journal keeps.
  void Add(std::span<const TJournalRow> rows);
  // The serial of the newest row shown, 0 before any.
  std::uint64_t LastSerial() const { return Rows_.empty() ? 0 : Rows_.back().Serial; }

  std::size_t Count() const { return Rows_.size(); }
  // Line 0 is the newest card.
  const TJournalRow& RowAt(std::size_t line) const;
  std::wstring CellText(std::size_t line, TJournalColumn column) const;
  // The line the card stands on; none when it is not shown (gone, or not yet taken).
  std::optional<std::size_t> LineOf(std::uint64_t serial) const;
  // The numbers of the lines, top to bottom, one a line, as the clipboard takes text.
  std::wstring NumbersText(std::span<const std::size_t> lines) const;

 private:
  std::deque<TJournalRow> Rows_;  // oldest first
};
