#include "ui/shell/queue_wait_win.h"

#include <algorithm>
#include <utility>

namespace {
// GUI thread only.
std::uint64_t LongestWait = 0;
}  // namespace

BOOL WaitForMessage(MSG& msg) {
  const ULONGLONG start = GetTickCount64();
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  LongestWait = std::max<std::uint64_t>(LongestWait, GetTickCount64() - start);
  return got;
}

std::uint64_t TakeLongestQueueWait() { return std::exchange(LongestWait, 0); }
