// The daily files of the journal: one file a day, named by its date, and which of them are
// older than the days the operator keeps.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "journal/journal_row.h"

// "2026-12-09.csv".
std::wstring JournalFileName(const TLocalTime& day);
// The day a file of the journal is named for; none for any other name.
std::optional<TLocalTime> JournalFileDay(std::wstring_view name);
// The journal's files among `names` dated `keepDays` days or more before `today`: with 30
// kept, today's file and the 29 before it stay. Other names are never among them.
std::vector<std::wstring> OldJournalFiles(std::span<const std::wstring> names,
                                          const TLocalTime& today, int keepDays);
// Seconds from `now` to the next local midnight, at least 1.
int SecondsToMidnight(const TLocalTime& now);
