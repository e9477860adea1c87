// What hears of each card on the reader thread: the row goes into the journal, and the GUI
// thread is told its serial. Both are quick and neither waits on the window or the disk.
#pragma once

#include <cstdint>
#include <functional>

#include "journal/session_journal.h"
#include "reader/reader_loop.h"

class TJournalSink final : public TOutcomeSink {
 public:
  // Called on the reader thread with the new row's serial: it must only queue the news.
  using TNotify = std::function<void(std::uint64_t serial)>;

  TJournalSink(TSessionJournal& journal, TClock clock, TNotify notify)
      : Journal_(journal), Clock_(std::move(clock)), Notify_(std::move(notify)) {}

  void Outcome(const TCardOutcome& outcome) override;

 private:
  TSessionJournal& Journal_;
  const TClock Clock_;
  const TNotify Notify_;
};
