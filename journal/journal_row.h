// One row of the card journal: when a card was read, its number as it was typed or would
// have been, where it went and what became of it; and the texts the journal window and the
// file show for it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "reader/card_delivery.h"

// A moment of the local clock, to the second.
struct TLocalTime {
  int Year = 1970;
  int Month = 1;  // 1..12
  int Day = 1;    // 1..31
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  bool operator==(const TLocalTime&) const = default;
};

// The local clock; each edition gives the system's (local_time_win.cpp,
// local_time_posix.cpp), the tests their own.
using TClock = std::function<TLocalTime()>;
TLocalTime LocalNow();

struct TJournalRow {
  std::uint64_t Serial = 0;  // 1, 2, ... in the order read in this run; 0 before it is kept
  TLocalTime Time;
  std::wstring Number;
  TCardTarget Target;
  TNotTyped Outcome = TNotTyped::None;
  bool operator==(const TJournalRow&) const = default;
};

TJournalRow JournalRowOf(const TCardOutcome& outcome, const TLocalTime& time);

// "09.12.2026 14:03:07": the column «Время», as a Russian spreadsheet reads a date and time.
std::wstring TimeText(const TLocalTime& time);
// The column «Куда»: "Title — program.exe", either alone when the other is unknown, and
// «нет окна» when neither is.
std::wstring WhereText(const TCardTarget& target);
// The column «Итог»: «введён», or «не введён: » and the reason the notice gives, on one line.
std::wstring OutcomeText(TNotTyped outcome);
// Why a card was not typed, as the notice tells it, in lines short enough for any balloon.
std::wstring NotTypedReasonText(TNotTyped reason);
