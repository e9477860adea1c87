#include "tools/cardsim/sim_plan.h"

#include <charconv>
#include <cctype>
#include <numeric>
#include <random>

namespace cardsim {

namespace {

constexpr unsigned kDefaultGapMs = 100;
constexpr unsigned kDefaultIntervalMs = 300;
constexpr unsigned kDefaultQuietMs = 200;
constexpr std::size_t kMaxChunk = 40;

template <typename T>
std::optional<T> ParseNumber(std::string_view text, T max) {
  T value{};
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value > max)
    return std::nullopt;
  return value;
}

std::optional<std::vector<std::size_t>> ParseSizes(std::string_view text) {
  std::vector<std::size_t> sizes;
  while (!text.empty()) {
    const auto comma = text.find(',');
    const auto size = ParseNumber<std::size_t>(text.substr(0, comma), 4096);
    if (!size || *size == 0) return std::nullopt;
    sizes.push_back(*size);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (sizes.empty()) return std::nullopt;
  return sizes;
}

struct TOptions {
  std::string Port;
  std::optional<TBytes> Frame;
  std::vector<std::size_t> Split;
  unsigned GapMs = kDefaultGapMs;
  unsigned Repeat = 1;
  unsigned IntervalMs = kDefaultIntervalMs;
  std::size_t GarbageBytes = 0;
  unsigned GarbageSeconds = 0;
  unsigned QuietMs = kDefaultQuietMs;
  std::uint32_t Seed = 1;
};

void AppendFrames(const TOptions& options, std::vector<TWrite>& writes) {
  const auto pieces = SplitFrame(*options.Frame, options.Split);
  for (unsigned i = 0; i < options.Repeat; ++i) {
    for (const auto& piece : pieces) writes.push_back({piece, options.GapMs});
    writes.back().PauseAfterMs = options.IntervalMs;
  }
  writes.back().PauseAfterMs = 0;
}

TPlan BuildPlan(const TOptions& options) {
  TPlan plan{options.Port, {}};
  if (options.GarbageBytes > 0 || options.GarbageSeconds > 0) {
    const std::size_t bytes = options.GarbageBytes > 0 ? options.GarbageBytes : kMaxGarbageBytes;
    const unsigned ms = (options.GarbageSeconds > 0 ? options.GarbageSeconds
                                                    : kMaxGarbageSeconds) * 1000;
    plan.Writes = GarbageWrites(options.Seed, bytes, ms, options.GapMs);
    if (!plan.Writes.empty()) plan.Writes.back().PauseAfterMs = options.QuietMs;
  }
  if (options.Frame) AppendFrames(options, plan.Writes);
  return plan;
}

// One option and its value; false with an error text when the value is bad.
bool ApplyOption(std::string_view name, std::string_view value, TOptions& options,
                 std::string& error) {
  auto fail = [&] {
    error = "bad value for " + std::string(name) + ": " + std::string(value);
    return false;
  };
  auto number = [&](auto& field, auto max) {
    const auto parsed = ParseNumber<std::remove_reference_t<decltype(field)>>(value, max);
    if (!parsed) return fail();
    field = *parsed;
    return true;
  };
  auto frame = [&](std::optional<TBytes> bytes) {
    if (options.Frame) {
      error = "give only one of --card40, --card26 and --raw";
      return false;
    }
    if (!bytes) return fail();
    options.Frame = std::move(bytes);
    return true;
  };
  if (name == "--port") {
    options.Port = value;
    return !value.empty() || fail();
  }
  if (name == "--card40") {
    const auto n = ParseNumber<std::uint64_t>(value, kMax40Bit);
    return frame(n ? std::optional(Frame40(*n)) : std::nullopt);
  }
  if (name == "--card26") {
    const auto n = ParseNumber<std::uint32_t>(value, kMax24Bit);
    return frame(n ? std::optional(Frame26(*n)) : std::nullopt);
  }
  if (name == "--raw") {
    auto bytes = ParseHex(value);
    return frame(bytes && !bytes->empty() ? bytes : std::nullopt);
  }
  if (name == "--split") {
    auto sizes = ParseSizes(value);
    if (!sizes) return fail();
    options.Split = std::move(*sizes);
    return true;
  }
  if (name == "--gap") return number(options.GapMs, 60'000u);
  if (name == "--repeat") return number(options.Repeat, kMaxRepeat) && (options.Repeat > 0 || fail());
  if (name == "--interval") return number(options.IntervalMs, 60'000u);
  if (name == "--garbage") return number(options.GarbageBytes, kMaxGarbageBytes);
  if (name == "--garbage-seconds") return number(options.GarbageSeconds, kMaxGarbageSeconds);
  if (name == "--quiet") return number(options.QuietMs, 60'000u);
  if (name == "--seed") return number(options.Seed, std::uint32_t{0xFFFFFFFF});
  error = "unknown option " + std::string(name);
  return false;
}

}  // namespace

TBytes Frame40(std::uint64_t number) {
  TBytes frame(5);
  for (int i = 4; i >= 0; --i, number >>= 8) frame[i] = static_cast<std::uint8_t>(number);
  return frame;
}

TBytes Frame26(std::uint32_t number) { return Frame40(number & kMax24Bit); }

std::optional<TBytes> ParseHex(std::string_view text) {
  TBytes bytes;
  int high = -1;
  for (char c : text) {
    if (c == ' ' || c == ':' || c == ',') {
      if (high >= 0) return std::nullopt;
      continue;
    }
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    const int digit = std::isdigit(static_cast<unsigned char>(c))
                          ? c - '0'
                          : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
    if (high < 0) {
      high = digit;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
      high = -1;
    }
  }
  if (high >= 0) return std::nullopt;
  return bytes;
}

std::vector<TBytes> SplitFrame(const TBytes& frame, const std::vector<std::size_t>& sizes) {
  std::vector<TBytes> pieces;
  std::size_t at = 0;
  for (std::size_t size : sizes) {
    if (at >= frame.size()) break;
    const std::size_t take = std::min(size, frame.size() - at);
    pieces.emplace_back(frame.begin() + at, frame.begin() + at + take);
    at += take;
  }
  if (at < frame.size()) pieces.emplace_back(frame.begin() + at, frame.end());
  return pieces;
}

std::vector<TWrite> GarbageWrites(std::uint32_t seed, std::size_t maxBytes, unsigned durationMs,
                                  unsigned maxGapMs) {
  std::mt19937 random(seed);
  auto below = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  std::vector<TWrite> writes;
  std::size_t bytes = 0;
  unsigned elapsedMs = 0;
  while (bytes < maxBytes && elapsedMs < durationMs) {
    // One chunk in four is a burst of whole frames, the rest plain noise.
    const bool burst = below(4) == 0;
    std::size_t size = burst ? 5 * (2 + below(3)) : 1 + below(kMaxChunk);
    size = std::min(size, maxBytes - bytes);
    TWrite write;
    write.Bytes.resize(size);
    for (auto& byte : write.Bytes) byte = static_cast<std::uint8_t>(below(256));
    write.PauseAfterMs = std::min<unsigned>(static_cast<unsigned>(below(maxGapMs + 1)),
                                            durationMs - elapsedMs);
    bytes += size;
    elapsedMs += write.PauseAfterMs;
    writes.push_back(std::move(write));
  }
  return writes;
}

TParsed ParseArguments(const std::vector<std::string>& args) {
  TOptions options;
  TParsed parsed;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    if (args[i] == "--help" || args[i] == "-h") {
      parsed.Help = true;
      return parsed;
    }
    if (i + 1 == args.size()) {
      parsed.Error = args[i].starts_with("--") ? "missing value for " + args[i]
                                                : "unexpected argument " + args[i];
      return parsed;
    }
    if (!ApplyOption(args[i], args[i + 1], options, parsed.Error)) return parsed;
  }
  if (options.Port.empty()) {
    parsed.Error = "--port is required";
  } else if (!options.Frame && options.GarbageBytes == 0 && options.GarbageSeconds == 0) {
    parsed.Error = "nothing to send: give --card40, --card26, --raw or --garbage";
  } else {
    parsed.Plan = BuildPlan(options);
  }
  return parsed;
}

std::string_view UsageText() {
  return R"(cardsim: plays a proximity-card reader on a serial line (19200 8N1).

usage: cardsim --port PORT [what to send] [how to send it]

  --port PORT            Linux: a tty path (e.g. $LINTAVO_PEER_2);
                         Windows: a COM port name (e.g. COM202)
what to send (one frame kind, optionally after garbage):
  --card40 N             a 40/42-bit card: N as 5 bytes, most significant first
  --card26 N             a 26-bit card: 00 00 then N (0..16777215) in 3 bytes
  --raw HEX              any bytes, e.g. "00 12 34 56 78" or 0012345678
  --garbage COUNT        random bytes and bursts of frames, at most COUNT bytes
  --garbage-seconds S    ... for at most S seconds (max 600); with either bound
                         alone the other is its maximum
  --seed S               random seed for --garbage (default 1)
  --quiet MS             quiet time after the garbage, before the frame (200)
how to send it:
  --split A,B,...        cut the frame into pieces of A, B, ... bytes
  --gap MS               delay between pieces, and most between garbage chunks (100)
  --repeat K             send the frame K times (1)
  --interval MS          delay between repeated frames (300)
  --help                 this text

Numbers may be decimal or 0x-prefixed hexadecimal.
example: cardsim --port COM202 --card40 305419896 --split 3,2 --gap 60
)";
}

}  // namespace cardsim
