// The two things the frame reader needs from a serial port, so the whole poll step can be
// driven by a fake line in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// One read never delivers more than this.
constexpr std::size_t kPortReadSize = 512;

class TReaderPort {
 public:
  // One read of what is already buffered. On success sets count (possibly 0); on failure
  // leaves count untouched.
  virtual bool Receive(std::span<std::uint8_t, kPortReadSize> destination,
                       std::uint32_t& count) = 0;
  // Drops whatever the driver holds in both directions.
  virtual void Purge() = 0;
  // The system's error number of the last failed read; 0 when it gave none.
  virtual std::uint32_t LastReadError() const { return 0; }

 protected:
  ~TReaderPort() = default;
};
