#include "reader/reader_loop.h"

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
  if (Echo_) return kEchoQuiet;
  if (Accumulator_.Count() > 0) return kStrayQuiet;
  return std::nullopt;
}

void TReaderLoop::Quiet() {
  if (Echo_)
    Echo_ = false;
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
  // The copy of the frame just typed, or anything else that came right behind it; the quiet
  // spell starts again after it.
  if (Echo_) {
    Port_.Purge();
    return true;
  }
  // A port claiming more than it can deliver counts as an over-long read.
  const auto step =
      count > received.size()
          ? TFrameAccumulator::TStep::Overflow
          : Accumulator_.Add(std::span<const std::uint8_t>(received).first(count));
  switch (step) {
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
  return true;
}

// The card is typed as soon as its last byte is in; the reader type is the one of this
// moment, so a change in the setup applies from the next frame on.
void TReaderLoop::Frame() {
  const CardCode code = DecodeFrame(Accumulator_.Bytes(), ReaderTypeNow());
  Port_.Purge();
  const auto notTyped = Typer_.Type(code);
  Sink_.Outcome(code, notTyped);
  Echo_ = true;
}
