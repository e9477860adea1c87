#include "reader/frame_reader.h"

#include <algorithm>
#include <array>

#include "core/common.h"

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

bool ReadFrame(TReaderPort* port, TFrameAccumulator& frame, CardCode& code) {
  if (port == nullptr) return false;
  std::array<std::uint8_t, kPortReadSize> received;
  std::uint32_t count = 0;
  if (!port->Receive(received, count)) return false;
  if (count == 0) {
    frame.NoteQuietPoll();
    return false;
  }
  // A port claiming more than it can deliver counts as an over-long read.
  const auto step = count > received.size()
                        ? TFrameAccumulator::TStep::Overflow
                        : frame.Add(std::span<const std::uint8_t>(received).first(count));
  switch (step) {
    case TFrameAccumulator::TStep::Waiting:
      return false;
    case TFrameAccumulator::TStep::Overflow:
      frame.Clear();
      port->Purge();
      return false;
    case TFrameAccumulator::TStep::Complete:
      code = DecodeFrame(frame.Bytes(), ReaderTypeNow());
      port->Purge();
      return true;
  }
  return false;
}
