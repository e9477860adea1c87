#include "reader/reader_loop.h"

#include <algorithm>
#include <array>

#include "core/common.h"

TReaderEnd TReaderLoop::Run() {
  for (;;) {
    switch (Port_.Wait(Limit(), Stop_)) {
      case TPortWake::Stop:
        return TReaderEnd::Stopped;
      case TPortWake::Lost:
        return TReaderEnd::Lost;
      case TPortWake::Quiet:
        Quiet();
        break;
      case TPortWake::Bytes:
        if (!TakeBytes()) return TReaderEnd::Lost;
        break;
    }
  }
}

std::optional<std::chrono::milliseconds> TReaderLoop::Limit() const {
  switch (Behind_) {
    case TBehind::Spell: {
      const auto left = SpellEnd_ - Port_.Now();
      return std::chrono::ceil<std::chrono::milliseconds>(std::max(left, left.zero()));
    }
    case TBehind::Copy:
      return kEchoQuiet;
    case TBehind::None:
      break;
  }
  if (Accumulator_.Count() > 0) return kStrayQuiet;
  return std::nullopt;
}

void TReaderLoop::Quiet() {
  if (Behind_ != TBehind::None)
    Behind_ = TBehind::None;
  else
    Accumulator_.NoteQuietPoll();
}

bool TReaderLoop::TakeBytes() {
  std::array<std::uint8_t, kPortReadSize> received;
  std::uint32_t count = 0;
  if (!Port_.Receive(received, count)) {
    Watch_.Failed(Port_.LastReadError());
    return !Watch_.Lost();
  }
  Watch_.Succeeded();
  if (count == 0) return true;
  // A port claiming more than it can deliver counts as an over-long read.
  if (count > received.size()) {
    Behind_ = TBehind::None;
    Accumulator_.Clear();
    Port_.Purge();
    return true;
  }
  const auto bytes = std::span<const std::uint8_t>(received).first(count);
  if (Behind_ == TBehind::None) {
    Accumulate(bytes);
  } else {
    Accumulate(DropBehindFrame(bytes));
  }
  return true;
}

std::vector<std::uint8_t> TReaderLoop::DropBehindFrame(std::span<const std::uint8_t> bytes) {
  if (Behind_ == TBehind::Spell) {
    const auto now = Port_.Now();
    // The copy of the frame just typed, or anything else that came right behind it; the
    // quiet spell starts again after it.
    if (now <= SpellEnd_) {
      SpellEnd_ = now + kEchoQuiet;
      Port_.Purge();
      return {};
    }
    Behind_ = TBehind::Copy;
    CopyMatched_ = 0;
  }
  std::size_t i = 0;
  while (i < bytes.size() && CopyMatched_ < Last_.size() && bytes[i] == Last_[CopyMatched_]) {
    ++i;
    ++CopyMatched_;
  }
  if (CopyMatched_ == Last_.size()) {
    Behind_ = TBehind::None;
    return {bytes.begin() + static_cast<std::ptrdiff_t>(i), bytes.end()};
  }
  if (i == bytes.size()) return {};  // a copy so far: the rest decides
  // Not a copy after all: what looked like one begins the next frame.
  Behind_ = TBehind::None;
  std::vector<std::uint8_t> fresh(Last_.begin(),
                                  Last_.begin() + static_cast<std::ptrdiff_t>(CopyMatched_));
  fresh.insert(fresh.end(), bytes.begin() + static_cast<std::ptrdiff_t>(i), bytes.end());
  return fresh;
}

void TReaderLoop::Accumulate(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return;
  switch (Accumulator_.Add(bytes)) {
    case TFrameAccumulator::TStep::Waiting:
      break;
    case TFrameAccumulator::TStep::Overflow:
      Accumulator_.Clear();
      Port_.Purge();
      break;
    case TFrameAccumulator::TStep::Complete:
      Frame();
      break;
  }
}

// The card is typed as soon as its last byte is in; the reader type is the one of this
// moment, so a change in the setup applies from the next frame on. The quiet spell behind it
// counts from its last byte, not from the end of the typing.
void TReaderLoop::Frame() {
  const auto frameEnd = Port_.Now();
  Last_ = Accumulator_.Bytes();
  const CardCode code = DecodeFrame(Last_, ReaderTypeNow());
  Port_.Purge();
  Sink_.Outcome(Typer_.Type(code));
  Behind_ = TBehind::Spell;
  SpellEnd_ = frameEnd + kEchoQuiet;
}
