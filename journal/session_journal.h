// The cards of this run, newest kept, shared by the reader thread that adds them, the GUI
// thread that shows them and the writer that keeps them in a file. Nobody holds the lock
// for more than a copy: the reader never waits on the window or on the disk.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "journal/journal_row.h"

class TSessionJournal {
 public:
  // The rows kept in memory; the oldest go first. Rows not yet handed to the writer are kept
  // to the same number.
  static constexpr std::size_t kCapacity = 5000;

  // From the reader thread: numbers the row, keeps it and wakes the writer; the row's serial.
  std::uint64_t Add(TJournalRow row);

  // The rows kept with a serial above `serial`, oldest first: 0 gives them all.
  std::vector<TJournalRow> RowsAfter(std::uint64_t serial) const;
  std::optional<TJournalRow> Find(std::uint64_t serial) const;

  // Whether rows read from now on are kept for the writer; off drops those waiting, so that
  // nothing read while the file was off reaches it later.
  void KeepForFile(bool keep);

  // The writer's side: the rows kept for it since its last take, oldest first. Waits until there
  // are some, `until` has come or Interrupt was called; an empty answer then.
  std::vector<TJournalRow> TakeUnwritten(std::chrono::steady_clock::time_point until);
  // Ends the writer's wait at once (a stop, new settings); a call while nobody waits ends the
  // next wait.
  void Interrupt();

 private:
  mutable std::mutex Lock_;
  std::condition_variable Added_;
  std::deque<TJournalRow> Rows_;
  std::deque<TJournalRow> Unwritten_;
  std::uint64_t LastSerial_ = 0;
  bool ForFile_ = false;
  bool Interrupted_ = false;
};

// The one journal of the program.
extern TSessionJournal Journal;
