// What the single-copy section tells of the copy that holds it: its process and, once it
// exists, its main window, so that a second start can bring that window up instead of only
// saying that the program runs. A section of an older copy holds only zeros and tells of
// none, as does one whose window is not made yet.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

struct TRunningCopy {
  std::uint32_t ProcessId = 0;
  std::uint64_t Window = 0;  // wide enough for the 64-bit build's handles
  bool operator==(const TRunningCopy&) const = default;
};

inline constexpr std::size_t kRunningCopyRecordSize = 16;
using TRunningCopyRecord = std::array<std::uint8_t, kRunningCopyRecordSize>;

TRunningCopyRecord EncodeRunningCopy(const TRunningCopy& copy);
// The copy the record tells of, or none.
std::optional<TRunningCopy> DecodeRunningCopy(const TRunningCopyRecord& record);
