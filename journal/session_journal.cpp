#include "journal/session_journal.h"

#include <algorithm>

TSessionJournal Journal;

namespace {

void KeepNewest(std::deque<TJournalRow>& rows, TJournalRow row) {
  rows.push_back(std::move(row));
  if (rows.size() > TSessionJournal::kCapacity) rows.pop_front();
}

}  // namespace

std::uint64_t TSessionJournal::Add(TJournalRow row) {
  std::uint64_t serial = 0;
  {
    const std::lock_guard lock(Lock_);
    serial = row.Serial = ++LastSerial_;
    if (ForFile_) KeepNewest(Unwritten_, row);
    KeepNewest(Rows_, std::move(row));
  }
  Added_.notify_one();
  return serial;
}

std::vector<TJournalRow> TSessionJournal::RowsAfter(std::uint64_t serial) const {
  const std::lock_guard lock(Lock_);
  const auto first = std::upper_bound(
      Rows_.begin(), Rows_.end(), serial,
      [](std::uint64_t value, const TJournalRow& row) { return value < row.Serial; });
  return {first, Rows_.end()};
}

std::optional<TJournalRow> TSessionJournal::Find(std::uint64_t serial) const {
  const std::lock_guard lock(Lock_);
  if (Rows_.empty() || serial < Rows_.front().Serial || serial > Rows_.back().Serial)
    return std::nullopt;
  return Rows_[serial - Rows_.front().Serial];
}

void TSessionJournal::KeepForFile(bool keep) {
  const std::lock_guard lock(Lock_);
  ForFile_ = keep;
  if (!keep) Unwritten_.clear();
}

std::vector<TJournalRow> TSessionJournal::TakeUnwritten(
    std::chrono::steady_clock::time_point until) {
  std::unique_lock lock(Lock_);
  Added_.wait_until(lock, until, [this] { return !Unwritten_.empty() || Interrupted_; });
  Interrupted_ = false;
  std::vector<TJournalRow> rows(std::make_move_iterator(Unwritten_.begin()),
                                std::make_move_iterator(Unwritten_.end()));
  Unwritten_.clear();
  return rows;
}

void TSessionJournal::Interrupt() {
  {
    const std::lock_guard lock(Lock_);
    Interrupted_ = true;
  }
  Added_.notify_all();
}
