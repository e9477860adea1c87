// The serial device the card reader is wired to, and the one port object of the process:
// the Linux edition's counterpart of uart_win.h, with the same status codes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "core/common.h"
#include "core/unique_fd_posix.h"
#include "reader/reader_port.h"

// 19200 8N1, raw, no flow control, DTR and RTS low, reads that return at once with what is
// buffered. Opened exclusively: TIOCEXCL keeps other programs out, and an flock() that
// every copy of this program takes keeps a second copy out even when run as root, which
// TIOCEXCL lets through. Failures never throw: they leave Status and Closed.
class TUart final : public TReaderPort {
 public:
  static constexpr int kOk = 0;
  static constexpr int kOpenFailed = -1;
  static constexpr int kCloseFailed = -2;
  static constexpr int kGetLineFailed = -4;
  static constexpr int kSetLineFailed = -5;
  static constexpr int kWriteFailed = 1;
  static constexpr int kReadFailed = 2;
  static constexpr std::size_t kMaxWrite = 512;

  // Opens the device at once; the caller looks at Closed to see whether that worked.
  explicit TUart(std::string device);
  ~TUart();
  TUart(const TUart&) = delete;
  TUart& operator=(const TUart&) = delete;

  bool Open();
  bool Close();
  bool Send(std::span<const std::uint8_t> data);
  // A hang-up or an error on the device ends the wait as a lost line.
  TPortWake Wait(std::optional<std::chrono::milliseconds> limit,
                 const TStopSignal& stop) override;
  bool Receive(std::span<std::uint8_t, kPortReadSize> destination, std::uint32_t& count) override;
  void Purge() override;
  std::uint32_t LastReadError() const override { return ReadError_; }
  // Lets the device go whatever closing it says, so the port reads as closed.
  void Drop();
  int Fd() const { return Fd_.Get(); }

  const std::string PortName;
  // Read by the GUI thread while the reader runs; only the GUI thread opens and closes.
  bool Closed = true;
  int Status = kOk;
  // The last open failed for want of the device's group (dialout), which the user can join.
  bool DeniedForWantOfGroup = false;

 private:
  bool Fail(int status);
  bool ConfigureLine();

  TUniqueFd Fd_;
  std::uint32_t ReadError_ = 0;
};

// Opens the device exclusively; none, with errno set, when it did not open.
TUniqueFd OpenSerialDevice(const std::string& device);

// The one port object, or none when building it failed. Replaced only by OpenConfiguredPort
// on the GUI thread, and only while no reader thread exists.
extern std::unique_ptr<TUart> Uart;

// Closes the old port object, builds one for PortDevice and says how that went.
PortState OpenConfiguredPort();
bool PortIsOpen();
// The port is not open because this user is not in the device's group.
bool PortDeniedToUser();
PortState CurrentPortState();
// Drops the driver's pending data both ways; nothing with no port or a closed one.
void PurgePort(TUart* port);
