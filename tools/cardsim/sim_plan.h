// What cardsim puts on the line: its command line turned into a list of timed writes.
// Portable, so the same plan runs against a Linux tty and a Windows COM port.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cardsim {

using TBytes = std::vector<std::uint8_t>;

struct TWrite {
  TBytes Bytes;
  unsigned PauseAfterMs = 0;  // quiet time before the next write
};

struct TPlan {
  std::string Port;  // a tty path, or a COM port name such as COM202
  std::vector<TWrite> Writes;
};

struct TParsed {
  std::optional<TPlan> Plan;  // empty on --help or an error
  bool Help = false;
  std::string Error;
};

constexpr std::uint64_t kMax40Bit = (std::uint64_t{1} << 40) - 1;
constexpr std::uint32_t kMax24Bit = (1u << 24) - 1;
constexpr std::size_t kMaxGarbageBytes = 1'000'000;
constexpr unsigned kMaxGarbageSeconds = 600;
constexpr unsigned kMaxRepeat = 100'000;

// Five bytes, most significant first, as the 40/42-bit reader sends them.
TBytes Frame40(std::uint64_t number);
// The 26-bit reader's frame: bytes 0 and 1 zero, the 24-bit number in bytes 2..4.
TBytes Frame26(std::uint32_t number);
// "00 12 34 56 78", "0012345678" or "00:12:34:56:78"; empty result on anything else.
std::optional<TBytes> ParseHex(std::string_view text);
// A frame cut into pieces of the given sizes; what the sizes leave over is the last piece.
std::vector<TBytes> SplitFrame(const TBytes& frame, const std::vector<std::size_t>& sizes);

// Random chunks, some of them bursts of back-to-back 5-byte frames, with random quiet gaps of
// at most maxGapMs; stops at maxBytes bytes or once the gaps add up to durationMs.
std::vector<TWrite> GarbageWrites(std::uint32_t seed, std::size_t maxBytes, unsigned durationMs,
                                  unsigned maxGapMs);

TParsed ParseArguments(const std::vector<std::string>& args);
std::string_view UsageText();

}  // namespace cardsim
