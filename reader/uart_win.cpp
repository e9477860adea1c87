#include "reader/uart_device_win.h"

#include <algorithm>
#include <utility>

#include "reader/port_opener_win.h"
#include "reader/port_state.h"
#include "reader/stop_signal_win.h"

std::unique_ptr<TUart> Uart;

namespace {
constexpr DWORD kQueueSize = 512;
constexpr DWORD kBaudRate = 19200;
constexpr BYTE kDataBits = 8;

// The whole flag word becomes 3, fBinary and fParity: no CTS/DSR/XON flow control, and DTR
// and RTS held low so the reader is not signalled to do anything.
void SetLineFlags(DCB& dcb) {
  dcb.fBinary = TRUE;
  dcb.fParity = TRUE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fTXContinueOnXoff = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  dcb.fAbortOnError = FALSE;
  dcb.fDummy2 = 0;
}
constexpr DWORD kPurgeBoth = PURGE_TXCLEAR | PURGE_RXCLEAR;
static_assert(kPurgeBoth == 12);
}  // namespace

TUart::TUart(TPortName name) : PortName(std::move(name)), Device_(std::make_unique<TDevice>()) {
  Open();
}

TUart::~TUart() {
  if (!Closed) Close();
}

bool TUart::Fail(int status) {
  Close();
  Status = status;
  return false;
}

bool TUart::Open() {
  if (!Closed) Close();
  TDevice& device = *Device_;
  device.Handle = OpenPortDevice(PortName).Device;
  if (!device.Handle.Valid()) {
    Status = kOpenFailed;
    return false;
  }
  Closed = false;
  if (!SetupComm(device.Handle.Get(), kQueueSize, kQueueSize)) return Fail(kQueueSizeFailed);
  return ConfigureLine();
}

bool TUart::ConfigureLine() {
  TDevice& device = *Device_;
  DCB& dcb = device.Dcb;
  dcb.DCBlength = sizeof(dcb);
  if (!GetCommState(device.Handle.Get(), &dcb)) return Fail(kGetLineFailed);
  dcb.BaudRate = kBaudRate;
  dcb.ByteSize = kDataBits;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  SetLineFlags(dcb);
  if (!SetCommState(device.Handle.Get(), &dcb)) return Fail(kSetLineFailed);
  device.Timeouts = {.ReadIntervalTimeout = MAXDWORD,
                     .ReadTotalTimeoutMultiplier = 0,
                     .ReadTotalTimeoutConstant = 0,
                     .WriteTotalTimeoutMultiplier = 0,
                     .WriteTotalTimeoutConstant = 0};
  if (!SetCommTimeouts(device.Handle.Get(), &device.Timeouts)) return Fail(kTimeoutsFailed);
  Status = kOk;
  return true;
}

bool TUart::Close() {
  if (!Device_->Handle.Reset()) {
    Status = kCloseFailed;
    return false;
  }
  Status = kOk;
  Closed = true;
  return true;
}

void TUart::Drop() {
  Close();
  Closed = true;
}

OVERLAPPED* TUart::TDevice::NewIo() {
  Io = {};
  Io.hEvent = IoDone.Get();
  return &Io;
}

bool TUart::TDevice::Finish(BOOL started, DWORD& done) {
  if (!started && GetLastError() != ERROR_IO_PENDING) return false;
  return GetOverlappedResult(Handle.Get(), &Io, &done, TRUE) != FALSE;
}

std::optional<DWORD> TUart::TDevice::Queued() {
  DWORD errors = 0;
  COMSTAT status{};
  if (!ClearCommError(Handle.Get(), &errors, &status)) return std::nullopt;
  return status.cbInQue;
}

bool TUart::TDevice::EndWait() {
  DWORD got = 0;
  CancelIo(Handle.Get());
  if (GetOverlappedResult(Handle.Get(), &WaitIo, &got, TRUE) && got == 1) HeldByte = true;
  return HeldByte;
}

// The wait is a read of one byte that waits for it, which holds up under real drivers and
// Wine alike (Wine's WaitCommEvent fails on a pseudo-terminal). The byte is kept for the next
// Receive, also when the wait was cancelled just as it came. Bytes that came after the last
// read are looked for first, so none is left lying until the next card.
TPortWake TUart::Wait(std::optional<std::chrono::milliseconds> limit, const TStopSignal& stop) {
  const auto lostBy = [this](DWORD error) {
    ReadError_ = error;
    return TPortWake::Lost;
  };
  ReadError_ = ERROR_SUCCESS;
  if (Closed) return TPortWake::Lost;
  if (WaitForSingleObject(stop.Handle(), 0) == WAIT_OBJECT_0) return TPortWake::Stop;
  TDevice& device = *Device_;
  if (device.HeldByte) return TPortWake::Bytes;
  const auto queued = device.Queued();
  if (!queued) return lostBy(GetLastError());
  if (*queued > 0) return TPortWake::Bytes;
  // Without time-outs a read waits until its byte is there; the reads of Receive ask only for
  // what is queued, so they still return at once.
  if (!device.WaitingReads) {
    COMMTIMEOUTS none{};
    if (!SetCommTimeouts(device.Handle.Get(), &none)) return lostBy(GetLastError());
    device.WaitingReads = true;
  }
  device.WaitIo = {};
  device.WaitIo.hEvent = device.WaitDone.Get();
  DWORD got = 0;
  if (!ReadFile(device.Handle.Get(), &device.WaitByte, 1, nullptr, &device.WaitIo) &&
      GetLastError() != ERROR_IO_PENDING)
    return lostBy(GetLastError());
  const std::array<HANDLE, 2> handles{stop.Handle(), device.WaitDone.Get()};
  const DWORD waitMs = limit ? static_cast<DWORD>(limit->count()) : INFINITE;
  switch (WaitForMultipleObjects(2, handles.data(), FALSE, waitMs)) {
    case WAIT_OBJECT_0 + 1:
      if (!GetOverlappedResult(device.Handle.Get(), &device.WaitIo, &got, FALSE))
        return lostBy(GetLastError());
      // A read that waits for its byte and ends with none has no line behind it; taken as
      // bytes, it would have the loop spin.
      if (got == 0) return lostBy(ERROR_DEVICE_NOT_CONNECTED);
      device.HeldByte = true;
      return TPortWake::Bytes;
    case WAIT_OBJECT_0:
      device.EndWait();
      return TPortWake::Stop;
    case WAIT_TIMEOUT:
      return device.EndWait() ? TPortWake::Bytes : TPortWake::Quiet;
    default: {
      const DWORD error = GetLastError();
      device.EndWait();
      return lostBy(error);
    }
  }
}

bool TUart::Send(std::span<const std::uint8_t> data) {
  Status = kWriteFailed;
  if (data.size() > kMaxWrite) return false;
  TDevice& device = *Device_;
  std::ranges::copy(data, device.TxBuf.begin());
  device.TxDone = 0;
  if (Closed) return false;
  const auto count = static_cast<DWORD>(data.size());
  // A short write is a failed one: the caller's bytes did not all go out.
  if (!device.Finish(WriteFile(device.Handle.Get(), device.TxBuf.data(), count, nullptr,
                               device.NewIo()),
                     device.TxDone) ||
      device.TxDone != count)
    return false;
  Status = kOk;
  return true;
}

bool TUart::Receive(std::span<std::uint8_t, kPortReadSize> destination, std::uint32_t& count) {
  ReadError_ = ERROR_SUCCESS;
  Status = kReadFailed;
  if (Closed) return false;
  TDevice& device = *Device_;
  // Only what is queued is asked for: an overlapped read of more may wait for the rest
  // whatever the time-outs say (Wine's does).
  const DWORD held = std::exchange(device.HeldByte, false) ? 1 : 0;
  device.RxBuf[0] = device.WaitByte;
  const auto queued = device.Queued();
  const DWORD wanted = queued ? std::min<DWORD>(*queued, kPortReadSize - held) : 0;
  DWORD got = 0;
  if (!queued || (wanted > 0 && !device.Finish(ReadFile(device.Handle.Get(),
                                                        device.RxBuf.data() + held, wanted,
                                                        nullptr, device.NewIo()),
                                               got))) {
    ReadError_ = GetLastError();
    return false;
  }
  count = std::min<std::uint32_t>(got + held, kPortReadSize);
  std::copy_n(device.RxBuf.begin(), count, destination.begin());
  Status = kOk;
  return true;
}

void TUart::Purge() {
  Device_->HeldByte = false;
  PurgePort(this);
}

void PurgePort(TUart* port) {
  if (port == nullptr || port->Closed) return;
  PurgeComm(port->Device().Handle.Get(), kPurgeBoth);
}

PortState OpenConfiguredPort() {
  try {
    Uart.reset();
    Uart = std::make_unique<TUart>(PortDevicePath(Settings.PortNumber));
  } catch (...) {
    Uart.reset();
  }
  return CurrentPortState();
}

PortState CurrentPortState() { return PortStateOf(Uart != nullptr, Uart != nullptr && Uart->Closed); }
