// Assembling the reader's 5-byte frames from whatever each read of the port delivers.
#pragma once

#include <cstdint>
#include <span>

#include "reader/card_code.h"

// The bytes of the frame in progress. Lives as long as one reader thread, across reads.
class TFrameAccumulator {
 public:
  enum class TStep { Waiting, Overflow, Complete };

  // Too many bytes for the frame in progress drops them all, held and new alike: the reader
  // sends no header, so there is no boundary to resynchronise on. A complete frame is
  // handed out once and the accumulator starts empty again.
  TStep Add(std::span<const std::uint8_t> bytes);
  // A quiet spell on the line. A reader sends its five bytes in under 3 ms, so a partial
  // frame that has seen two quiet spells in a row is a stray and is dropped.
  void NoteQuietPoll();
  int Count() const { return Count_; }
  const TFrameBytes& Bytes() const { return Bytes_; }
  void Clear() { Count_ = 0; }

 private:
  static constexpr int kStaleAfterQuietPolls = 2;
  TFrameBytes Bytes_{};
  int Count_ = 0;
  int QuietPolls_ = 0;
};
