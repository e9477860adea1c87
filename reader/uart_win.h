// The serial port the card reader is wired to, and the one port object of the process.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "core/common.h"
#include "core/unique_handle_win.h"
#include "reader/reader_port.h"

// Line 19200 8N1 without flow control, reads that return at once with what is buffered,
// writes of at most 512 bytes. The device is opened for overlapped I/O so that the reader
// can wait for it together with its stop; reads and writes still finish before they return.
// Failures never throw: they leave Status and Closed.
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
  explicit TUart(int portNumber);
  ~TUart();
  TUart(const TUart&) = delete;
  TUart& operator=(const TUart&) = delete;

  bool Open();
  bool Close();
  bool WriteBuffer();
  bool ReadBuffer();
  bool Send(std::span<const std::uint8_t> data);
  // Waits for a received character, an error from the wait being a lost line. Runs on the
  // reader thread only: the wait is that thread's I/O, ended before it returns.
  TPortWake Wait(std::optional<std::chrono::milliseconds> limit,
                 const TStopSignal& stop) override;
  bool Receive(std::span<std::uint8_t, kPortReadSize> destination,
               std::uint32_t& count) override;
  void Purge() override;
  std::uint32_t LastReadError() const override { return ReadError_; }
  // Lets the device go whatever closing it says: a device that went away may refuse even
  // that, and the port must read as closed so that it is opened anew.
  void Drop();

  HANDLE Handle() const { return Handle_.Get(); }
  DWORD TxDone() const { return TxDone_; }

  const std::wstring PortName;
  // Read by the GUI thread while the reader runs; only the GUI thread opens and closes.
  bool Closed = true;
  int Status = kOk;

 private:
  bool Fail(int status);
  bool ConfigureLine();
  OVERLAPPED* NewIo();
  // Carries out one read or write on the overlapped handle to its end.
  bool Finish(BOOL started, DWORD& done);
  // Bytes in the driver's queue; none when the driver would not say.
  std::optional<DWORD> Queued();
  TPortWake LostBy(DWORD error);
  // Cancels the pending wait and lets it end, so its record is free again; whether its
  // byte came all the same.
  bool EndWait();

  TUniqueHandle Handle_;
  std::array<std::uint8_t, 2 * kPortReadSize> RxBuf_{};
  std::array<std::uint8_t, 2 * kMaxWrite> TxBuf_{};
  std::size_t TxCount_ = 0;
  DWORD TxDone_ = 0;
  DWORD RxCount_ = 0;
  DWORD ReadError_ = ERROR_SUCCESS;
  DCB Dcb_{};
  COMMTIMEOUTS Timeouts_{};
  TUniqueHandle IoDone_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  TUniqueHandle WaitDone_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  OVERLAPPED Io_{};
  OVERLAPPED Wait_{};
  std::uint8_t WaitByte_ = 0;
  // The wait's byte, not yet handed out by Receive.
  bool HeldByte_ = false;
  bool WaitingReads_ = false;
};

// The one port object, or none when building it failed or while the port opener's worker
// holds it. Replaced only on the GUI thread (OpenConfiguredPort, or the opener's answer), and
// only while no reader thread exists.
extern std::unique_ptr<TUart> Uart;

// Closes the old port object, builds one for Settings.PortNumber and says how that went.
PortState OpenConfiguredPort();

// The state of the port object as it is now.
PortState CurrentPortState();

// Drops the driver's pending transmit and receive data; nothing with no port or a closed one.
void PurgePort(TUart* port);
