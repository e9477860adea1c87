// The one reader loop both editions run: it sleeps on the port until the line speaks,
// assembles the reader's frames at the line's own pace, types each card at once and tells
// what became of it, and ends when the line is lost or a stop is raised.
#pragma once

#include <chrono>
#include <optional>
#include <span>
#include <vector>

#include "reader/card_code.h"
#include "reader/card_delivery.h"
#include "reader/frame_reader.h"
#include "reader/line_watch.h"
#include "reader/reader_port.h"

// Types a card where the operator works and says what became of it.
class TTyper {
 public:
  virtual TCardOutcome Type(CardCode code) = 0;

 protected:
  ~TTyper() = default;
};

// Hears what became of each card; called on the reader thread, so it only passes it on.
class TOutcomeSink {
 public:
  virtual void Outcome(const TCardOutcome& outcome) = 0;

 protected:
  ~TOutcomeSink() = default;
};

enum class TReaderEnd { Stopped, Lost };

// A frame's time on the wire: five bytes of ten bits each.
constexpr std::chrono::microseconds FrameTime(unsigned baud) {
  return std::chrono::microseconds(kFrameSize * 10 * 1'000'000 / baud);
}

class TReaderLoop {
 public:
  // A reader that sends its frame twice sends the copy right behind it: what comes before
  // the line has been quiet this long after a frame is dropped, not read as a new frame. A
  // card whose typing outlasts that spell (the Linux edition types at an input method's
  // pace) leaves what came meanwhile without a time: of that only a copy of the frame is
  // dropped, and anything else is read as the next card.
  static constexpr auto kEchoQuiet =
      std::chrono::ceil<std::chrono::milliseconds>(4 * FrameTime(kLineBaud));
  // A partial frame that has met two quiet spells of this in a row is a stray: kept, it
  // would make the next real card overflow and be lost. A frame split by a pause shorter
  // than one spell is still joined.
  static constexpr std::chrono::milliseconds kStrayQuiet{40};

  TReaderLoop(TReaderPort& port, const TStopSignal& stop, TTyper& typer, TOutcomeSink& sink)
      : Port_(port), Stop_(stop), Typer_(typer), Sink_(sink) {}

  // Runs until the stop or the line's loss. While nothing comes and no frame is in
  // progress it waits without a limit: no timer wakes it.
  TReaderEnd Run();

 private:
  // The wait's limit for the state the loop is in.
  std::optional<std::chrono::milliseconds> Limit() const;
  // Reads what the port holds; false when the failure lost the line.
  bool TakeBytes();
  // What of `bytes` is left once what came behind the last frame is dropped.
  std::vector<std::uint8_t> DropBehindFrame(std::span<const std::uint8_t> bytes);
  void Accumulate(std::span<const std::uint8_t> bytes);
  void Quiet();
  void Frame();

  TReaderPort& Port_;
  const TStopSignal& Stop_;
  TTyper& Typer_;
  TOutcomeSink& Sink_;
  TFrameAccumulator Accumulator_;
  TReadWatch Watch_;
  // Behind a frame: within the quiet spell everything is dropped (Spell); past it, only a
  // copy of the frame, matched byte by byte (Copy).
  enum class TBehind { None, Spell, Copy };
  TBehind Behind_ = TBehind::None;
  std::chrono::microseconds SpellEnd_{0};
  TFrameBytes Last_{};
  std::size_t CopyMatched_ = 0;
};
