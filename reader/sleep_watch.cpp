#include "reader/sleep_watch.h"

bool TSleepWatch::Tick(std::uint64_t nowMs, std::uint64_t waitedMs) {
  const std::optional<std::uint64_t> previous = LastTick_;
  LastTick_ = nowMs;
  return previous && nowMs - *previous >= kSleepGapMs && waitedMs >= kSleepGapMs &&
         Woke(nowMs);
}

bool TSleepWatch::Resumed(std::uint64_t nowMs) { return Woke(nowMs); }

bool TSleepWatch::Woke(std::uint64_t nowMs) {
  if (LastWake_ && nowMs - *LastWake_ < kSameWakeMs) return false;
  LastWake_ = nowMs;
  return true;
}
