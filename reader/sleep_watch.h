// Noticing that the machine slept, from the system's resume notices and from the line
// timer: a sleep that sends no notice (Modern Standby) still leaves a gap of many seconds
// between two ticks. One wake brings up to three such signs; it is acted on once. A gap the
// GUI thread spent at work (a handler that took long) is its own doing, not a sleep: only
// a gap it spent waiting for messages counts.
#pragma once

#include <cstdint>
#include <optional>

class TSleepWatch {
 public:
  // The line timer ticks every half second; a gap this long means the machine was away.
  static constexpr std::uint64_t kSleepGapMs = 10'000;
  // Signs of the same wake arrive within this of each other.
  static constexpr std::uint64_t kSameWakeMs = 5'000;

  // A tick of the line timer at nowMs (the system's tick count, which runs on in sleep), with
  // waitedMs the longest the GUI thread waited for a message since the tick before; true
  // when it tells of a wake not yet acted on.
  bool Tick(std::uint64_t nowMs, std::uint64_t waitedMs);
  // The system says it resumed; true when this wake was not yet acted on.
  bool Resumed(std::uint64_t nowMs);

 private:
  bool Woke(std::uint64_t nowMs);

  std::optional<std::uint64_t> LastTick_;
  std::optional<std::uint64_t> LastWake_;
};
