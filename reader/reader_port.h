// What the reader loop needs from a serial port, so the whole loop can be driven by a fake
// line in tests.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// One read never delivers more than this.
constexpr std::size_t kPortReadSize = 512;

// The line's speed: 19200 baud, 8 data bits, no parity, one stop bit.
constexpr unsigned kLineBaud = 19200;

// The reader thread's stop, each edition's own: an eventfd on Linux, an event on Windows.
class TStopSignal;

// Why a wait on the port ended.
enum class TPortWake {
  Bytes,  // something is buffered to read
  Quiet,  // the limit passed with nothing on the line
  Stop,   // the stop was raised; it wins over bytes
  Lost,   // the system says the device is gone
};

class TReaderPort {
 public:
  // Sleeps until the port has bytes, the stop is raised, the device is lost or `limit` has
  // passed; without a limit it waits as long as it takes.
  virtual TPortWake Wait(std::optional<std::chrono::milliseconds> limit,
                         const TStopSignal& stop) = 0;
  // One read of what is already buffered. On success sets count (possibly 0); on failure
  // leaves count untouched.
  virtual bool Receive(std::span<std::uint8_t, kPortReadSize> destination,
                       std::uint32_t& count) = 0;
  // Drops whatever the driver holds in both directions.
  virtual void Purge() = 0;
  // The system's error number of the last failed read or wait; 0 when it gave none.
  virtual std::uint32_t LastReadError() const { return 0; }
  // The moment of the line's clock, which tells the loop how long typing a card took.
  virtual std::chrono::microseconds Now() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
  }

 protected:
  ~TReaderPort() = default;
};
