#include "core/running_copy.h"

namespace {

// "LNTV": a record this program wrote, not zeros or another program's bytes.
constexpr std::uint32_t kMark = 0x564E544C;

void Put(TRunningCopyRecord& record, std::size_t at, std::uint64_t value, std::size_t bytes) {
  for (std::size_t i = 0; i < bytes; ++i)
    record[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t Take(const TRunningCopyRecord& record, std::size_t at, std::size_t bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < bytes; ++i) value |= std::uint64_t{record[at + i]} << (8 * i);
  return value;
}

}  // namespace

TRunningCopyRecord EncodeRunningCopy(const TRunningCopy& copy) {
  TRunningCopyRecord record{};
  Put(record, 0, kMark, 4);
  Put(record, 4, copy.ProcessId, 4);
  Put(record, 8, copy.Window, 8);
  return record;
}

std::optional<TRunningCopy> DecodeRunningCopy(const TRunningCopyRecord& record) {
  if (Take(record, 0, 4) != kMark) return std::nullopt;
  const TRunningCopy copy{static_cast<std::uint32_t>(Take(record, 4, 4)), Take(record, 8, 8)};
  if (copy.ProcessId == 0 || copy.Window == 0) return std::nullopt;
  return copy;
}
