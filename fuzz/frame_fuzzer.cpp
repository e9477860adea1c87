// Frame assembly fed arbitrary reads: the input is a script of reads, each a length byte
// (the top values mean a failed read) followed by that many bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "core/common.h"
#include "reader/frame_reader.h"

namespace {

constexpr std::uint8_t kFailedRead = 0xFF;

class TFuzzPort final : public TReaderPort {
 public:
  explicit TFuzzPort(std::span<const std::uint8_t> script) : Script_(script) {}

  bool Receive(std::span<std::uint8_t, kPortReadSize> destination,
               std::uint32_t& count) override {
    if (Script_.empty()) return false;
    const std::uint8_t length = Script_.front();
    Script_ = Script_.subspan(1);
    if (length == kFailedRead) return false;
    const std::size_t take = std::min<std::size_t>(length, Script_.size());
    std::memcpy(destination.data(), Script_.data(), take);
    Script_ = Script_.subspan(take);
    count = static_cast<std::uint32_t>(take);
    return true;
  }
  void Purge() override {}
  bool Done() const { return Script_.empty(); }

 private:
  std::span<const std::uint8_t> Script_;
};

constexpr CardCode kMax40Bit = (CardCode{1} << 40) - 1;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  SetReaderType(data[0] & 1);
  TFuzzPort port(std::span(data + 1, size - 1));
  TFrameAccumulator frame;
  while (!port.Done()) {
    CardCode code = 0;
    const bool typed = ReadFrame(&port, frame, code);
    if (frame.Count() < 0 || frame.Count() >= kFrameSize) std::abort();
    if (typed && code > (ReaderTypeNow() == 0 ? CardCode{0xFFFFFF} : kMax40Bit)) std::abort();
  }
  return 0;
}
