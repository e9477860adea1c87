// Assembling the reader's 5-byte frames from whatever each poll of the port delivers.
#pragma once

#include <cstdint>
#include <span>

#include "reader/card_code.h"
#include "reader/reader_port.h"

// The bytes of the frame in progress. Lives as long as one reader thread, across polls.
class TFrameAccumulator {
 public:
  enum class TStep { Waiting, Overflow, Complete };

  // Too many bytes for the frame in progress drops them all, held and new alike: the reader
  // sends no header, so there is no boundary to resynchronise on. A complete frame is
  // handed out once and the accumulator starts empty again.
  TStep Add(std::span<const std::uint8_t> bytes);
  // A poll that found the line quiet. A reader sends its five bytes in under 3 ms, so a
  // partial frame that has seen two quiet polls in a row is a stray and is dropped; kept, it
  // would make the next real card overflow and be lost.
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

// One poll: read the port, add to the frame, and when the frame is complete decode it by the
// reader type current at that moment. Purges the port after an overflow and after a frame,
// so a repeated frame that followed it is not read as the start of the next one. No port
// (nullptr) or a failed read leave the accumulator as it was; an empty read is a quiet poll.
bool ReadFrame(TReaderPort* port, TFrameAccumulator& frame, CardCode& code);
