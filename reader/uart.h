// The serial port the card reader is wired to, and the one port object of the process. Each
// edition builds it on its own system: uart_win.cpp over a COM device, uart_linux.cpp over a
// tty; what only one system has lives in its TDevice (uart_device_win.h, uart_device_linux.h).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "core/common.h"
#include "reader/reader_port.h"

// What the system calls a port: a COM device path on Windows, a tty path on Linux.
#ifdef _WIN32
using TPortName = std::wstring;
#else
using TPortName = std::string;
#endif

// Line 19200 8N1 without flow control, DTR and RTS low, reads that return at once with what
// is buffered, writes of at most 512 bytes. Failures never throw: they leave Status and
// Closed.
class TUart final : public TReaderPort {
 public:
  // Status codes of the last operation.
  static constexpr int kOk = 0;
  static constexpr int kOpenFailed = -1;
  static constexpr int kCloseFailed = -2;
  static constexpr int kQueueSizeFailed = -3;
  static constexpr int kGetLineFailed = -4;
  static constexpr int kSetLineFailed = -5;
  static constexpr int kTimeoutsFailed = -6;
  static constexpr int kWriteFailed = 1;
  static constexpr int kReadFailed = 2;

  static constexpr std::size_t kMaxWrite = 512;

  // Opens the port at once; the caller looks at Closed to see whether that worked.
  explicit TUart(TPortName name);
  ~TUart();
  TUart(const TUart&) = delete;
  TUart& operator=(const TUart&) = delete;

  bool Open();
  bool Close();
  bool Send(std::span<const std::uint8_t> data);
  // Waits for a received character; a hang-up or an error from the wait is a lost line. Runs
  // on the reader thread only.
  TPortWake Wait(std::optional<std::chrono::milliseconds> limit,
                 const TStopSignal& stop) override;
  bool Receive(std::span<std::uint8_t, kPortReadSize> destination,
               std::uint32_t& count) override;
  void Purge() override;
  std::uint32_t LastReadError() const override { return ReadError_; }
  // Lets the device go whatever closing it says: a device that went away may refuse even
  // that, and the port must read as closed so that it is opened anew.
  void Drop();

  // The system's own part of the port; its layer's header says what it holds.
  struct TDevice;
  TDevice& Device() { return *Device_; }
  const TDevice& Device() const { return *Device_; }

  const TPortName PortName;
  // Read by the GUI thread while the reader runs; only the GUI thread opens and closes.
  bool Closed = true;
  int Status = kOk;

 private:
  bool Fail(int status);
  bool ConfigureLine();

  std::unique_ptr<TDevice> Device_;
  std::uint32_t ReadError_ = 0;
};

// The one port object, or none when building it failed or (Windows) while the port opener's
// worker holds it. Replaced only on the GUI thread (OpenConfiguredPort, or the opener's
// answer), and only while no reader thread exists.
extern std::unique_ptr<TUart> Uart;

// Closes the old port object, builds one for the configured port and says how that went.
PortState OpenConfiguredPort();

// The state of the port object as it is now.
PortState CurrentPortState();

// Drops the driver's pending data both ways; nothing with no port or a closed one.
void PurgePort(TUart* port);
