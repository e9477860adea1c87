// The Windows side of TUart: the COM device, opened for overlapped I/O so that the reader can
// wait for it together with its stop; reads and writes still finish before they return.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>

#include "core/unique_handle_win.h"
#include "reader/uart.h"

struct TUart::TDevice {
  OVERLAPPED* NewIo();
  // Carries out one read or write on the overlapped handle to its end.
  bool Finish(BOOL started, DWORD& done);
  // Bytes in the driver's queue; none when the driver would not say.
  std::optional<DWORD> Queued();
  // Cancels the pending wait and lets it end, so its record is free again; whether its
  // byte came all the same.
  bool EndWait();

  TUniqueHandle Handle;
  std::array<std::uint8_t, 2 * kPortReadSize> RxBuf{};
  std::array<std::uint8_t, 2 * kMaxWrite> TxBuf{};
  // Bytes the last write put out.
  DWORD TxDone = 0;
  DCB Dcb{};
  COMMTIMEOUTS Timeouts{};
  TUniqueHandle IoDone{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  TUniqueHandle WaitDone{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  OVERLAPPED Io{};
  OVERLAPPED WaitIo{};
  std::uint8_t WaitByte = 0;
  // The wait's byte, not yet handed out by Receive.
  bool HeldByte = false;
  bool WaitingReads = false;
};
