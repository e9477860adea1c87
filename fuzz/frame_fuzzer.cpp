// The reader loop fed arbitrary lines: the input is a script of events, each a byte that
// says how many quiet spells pass before it (top bit: the read fails instead) and how many
// bytes follow (low five bits).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <utility>

#include "core/common.h"
#include "reader/reader_loop.h"

// The fuzz build has no platform stop: the script's end is the stop.
class TStopSignal {};

namespace {

constexpr std::uint8_t kFailedRead = 0x80;

class TFuzzPort final : public TReaderPort {
 public:
  explicit TFuzzPort(std::span<const std::uint8_t> script) : Script_(script) {}

  TPortWake Wait(std::optional<std::chrono::milliseconds> limit, const TStopSignal&) override {
    if (Pending_ > 0) return TPortWake::Bytes;
    if (Script_.empty()) return TPortWake::Stop;
    const std::uint8_t head = Script_.front();
    if (limit && QuietSpells_ < ((head >> 5) & 3)) {
      ++QuietSpells_;
      return TPortWake::Quiet;
    }
    QuietSpells_ = 0;
    Script_ = Script_.subspan(1);
    Fail_ = (head & kFailedRead) != 0;
    Pending_ = std::min<std::size_t>(head & 0x1F, Script_.size());
    return TPortWake::Bytes;
  }
  bool Receive(std::span<std::uint8_t, kPortReadSize> destination,
               std::uint32_t& count) override {
    if (Fail_) {
      Fail_ = false;
      Script_ = Script_.subspan(Pending_);
      Pending_ = 0;
      return false;
    }
    std::memcpy(destination.data(), Script_.data(), Pending_);
    Script_ = Script_.subspan(Pending_);
    count = static_cast<std::uint32_t>(std::exchange(Pending_, 0));
    return true;
  }
  void Purge() override {}

 private:
  std::span<const std::uint8_t> Script_;
  std::size_t Pending_ = 0;
  unsigned QuietSpells_ = 0;
  bool Fail_ = false;
};

constexpr CardCode kMax40Bit = (CardCode{1} << 40) - 1;

class TCheckingTyper final : public TTyper, public TOutcomeSink {
 public:
  TCardOutcome Type(CardCode code) override {
    if (code > (ReaderTypeNow() == 0 ? CardCode{0xFFFFFF} : kMax40Bit)) std::abort();
    return {{code}, {}};
  }
  void Outcome(const TCardOutcome&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  SetReaderType(data[0] & 1);
  TFuzzPort port(std::span(data + 1, size - 1));
  TCheckingTyper typer;
  const TStopSignal stop;
  TReaderLoop(port, stop, typer, typer).Run();
  return 0;
}
