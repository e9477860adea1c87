#include "journal/journal_sink.h"

void TJournalSink::Outcome(const TCardOutcome& outcome) {
  const std::uint64_t serial = Journal_.Add(JournalRowOf(outcome, Clock_()));
  if (Notify_) Notify_(serial);
}
