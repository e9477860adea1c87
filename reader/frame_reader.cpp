#include "reader/frame_reader.h"

#include <algorithm>

TFrameAccumulator::TStep TFrameAccumulator::Add(std::span<const std::uint8_t> bytes) {
  QuietPolls_ = 0;
  if (bytes.size() > static_cast<std::size_t>(kFrameSize - Count_)) {
    Count_ = 0;
    return TStep::Overflow;
  }
  std::ranges::copy(bytes, Bytes_.begin() + Count_);
  Count_ += static_cast<int>(bytes.size());
  if (Count_ != kFrameSize) return TStep::Waiting;
  Count_ = 0;
  return TStep::Complete;
}

void TFrameAccumulator::NoteQuietPoll() {
  if (Count_ == 0) return;
  if (++QuietPolls_ >= kStaleAfterQuietPolls) {
    Count_ = 0;
    QuietPolls_ = 0;
  }
}
