#include "reader/uart_win.h"

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

TUart::TUart(int portNumber) : PortName(PortDevicePath(portNumber)) { Open(); }

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
  Handle_ = OpenPortDevice(PortName).Device;
  if (!Handle_.Valid()) {
    Status = kOpenFailed;
    return false;
  }
  Closed = false;
  if (!SetupComm(Handle_.Get(), kQueueSize, kQueueSize)) return Fail(kQueueSizeFailed);
  return ConfigureLine();
}

bool TUart::ConfigureLine() {
  Dcb_.DCBlength = sizeof(Dcb_);
  if (!GetCommState(Handle_.Get(), &Dcb_)) return Fail(kGetLineFailed);
  Dcb_.BaudRate = kBaudRate;
  Dcb_.ByteSize = kDataBits;
  Dcb_.Parity = NOPARITY;
  Dcb_.StopBits = ONESTOPBIT;
  SetLineFlags(Dcb_);
  if (!SetCommState(Handle_.Get(), &Dcb_)) return Fail(kSetLineFailed);
  Timeouts_ = {.ReadIntervalTimeout = MAXDWORD,
               .ReadTotalTimeoutMultiplier = 0,
               .ReadTotalTimeoutConstant = 0,
               .WriteTotalTimeoutMultiplier = 0,
               .WriteTotalTimeoutConstant = 0};
  if (!SetCommTimeouts(Handle_.Get(), &Timeouts_)) return Fail(kTimeoutsFailed);
  Status = kOk;
  return true;
}

bool TUart::Close() {
  if (!Handle_.Reset()) {
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

bool TUart::WriteBuffer() {
  TxDone_ = 0;
  Status = kWriteFailed;
  if (Closed || TxCount_ > kMaxWrite) return false;
  const auto count = static_cast<DWORD>(TxCount_);
  // A short write is a failed one: the caller's bytes did not all go out.
  if (!Finish(WriteFile(Handle_.Get(), TxBuf_.data(), count, nullptr, NewIo()), TxDone_) ||
      TxDone_ != count)
    return false;
  Status = kOk;
  return true;
}

bool TUart::ReadBuffer() {
  RxCount_ = 0;
  ReadError_ = ERROR_SUCCESS;
  Status = kReadFailed;
  if (Closed) return false;
  // Only what is queued is asked for: an overlapped read of more may wait for the rest
  // whatever the time-outs say (Wine's does).
  const DWORD held = std::exchange(HeldByte_, false) ? 1 : 0;
  RxBuf_[0] = WaitByte_;
  const auto queued = Queued();
  const DWORD wanted = queued ? std::min<DWORD>(*queued, kPortReadSize - held) : 0;
  if (!queued || (wanted > 0 && !Finish(ReadFile(Handle_.Get(), RxBuf_.data() + held, wanted,
                                                  nullptr, NewIo()),
                                         RxCount_))) {
    ReadError_ = GetLastError();
    RxCount_ = 0;
    return false;
  }
  RxCount_ += held;
  Status = kOk;
  return true;
}

OVERLAPPED* TUart::NewIo() {
  Io_ = {};
  Io_.hEvent = IoDone_.Get();
  return &Io_;
}

bool TUart::Finish(BOOL started, DWORD& done) {
  if (!started && GetLastError() != ERROR_IO_PENDING) return false;
  return GetOverlappedResult(Handle_.Get(), &Io_, &done, TRUE) != FALSE;
}

std::optional<DWORD> TUart::Queued() {
  DWORD errors = 0;
  COMSTAT status{};
  if (!ClearCommError(Handle_.Get(), &errors, &status)) return std::nullopt;
  return status.cbInQue;
}

TPortWake TUart::LostBy(DWORD error) {
  ReadError_ = error;
  return TPortWake::Lost;
}

bool TUart::EndWait() {
  DWORD got = 0;
  CancelIo(Handle_.Get());
  if (GetOverlappedResult(Handle_.Get(), &Wait_, &got, TRUE) && got == 1) HeldByte_ = true;
  return HeldByte_;
}

// The wait is a read of one byte that waits for it, which holds up under real drivers and
// Wine alike (Wine's WaitCommEvent fails on a pseudo-terminal). The byte is kept for the next
// Receive, also when the wait was cancelled just as it came. Bytes that came after the last
// read are looked for first, so none is left lying until the next card.
TPortWake TUart::Wait(std::optional<std::chrono::milliseconds> limit, const TStopSignal& stop) {
  ReadError_ = ERROR_SUCCESS;
  if (Closed) return TPortWake::Lost;
  if (WaitForSingleObject(stop.Handle(), 0) == WAIT_OBJECT_0) return TPortWake::Stop;
  if (HeldByte_) return TPortWake::Bytes;
  const auto queued = Queued();
  if (!queued) return LostBy(GetLastError());
  if (*queued > 0) return TPortWake::Bytes;
  // Without time-outs a read waits until its byte is there; the reads of Receive ask only for
  // what is queued, so they still return at once.
  if (!WaitingReads_) {
    COMMTIMEOUTS none{};
    if (!SetCommTimeouts(Handle_.Get(), &none)) return LostBy(GetLastError());
    WaitingReads_ = true;
  }
  Wait_ = {};
  Wait_.hEvent = WaitDone_.Get();
  DWORD got = 0;
  if (!ReadFile(Handle_.Get(), &WaitByte_, 1, nullptr, &Wait_) &&
      GetLastError() != ERROR_IO_PENDING)
    return LostBy(GetLastError());
  const std::array<HANDLE, 2> handles{stop.Handle(), WaitDone_.Get()};
  const DWORD waitMs = limit ? static_cast<DWORD>(limit->count()) : INFINITE;
  switch (WaitForMultipleObjects(2, handles.data(), FALSE, waitMs)) {
    case WAIT_OBJECT_0 + 1:
      if (!GetOverlappedResult(Handle_.Get(), &Wait_, &got, FALSE)) return LostBy(GetLastError());
      // A read that waits for its byte and ends with none has no line behind it; taken as
      // bytes, it would have the loop spin.
      if (got == 0) return LostBy(ERROR_DEVICE_NOT_CONNECTED);
      HeldByte_ = true;
      return TPortWake::Bytes;
    case WAIT_OBJECT_0:
      EndWait();
      return TPortWake::Stop;
    case WAIT_TIMEOUT:
      return EndWait() ? TPortWake::Bytes : TPortWake::Quiet;
    default: {
      const DWORD error = GetLastError();
      EndWait();
      return LostBy(error);
    }
  }
}

bool TUart::Send(std::span<const std::uint8_t> data) {
  Status = kWriteFailed;
  if (data.size() > kMaxWrite) return false;
  TxCount_ = data.size();
  std::ranges::copy(data, TxBuf_.begin());
  return WriteBuffer();
}

bool TUart::Receive(std::span<std::uint8_t, kPortReadSize> destination, std::uint32_t& count) {
  if (!ReadBuffer()) return false;
  count = std::min<std::uint32_t>(RxCount_, kPortReadSize);
  std::copy_n(RxBuf_.begin(), count, destination.begin());
  return true;
}

void TUart::Purge() {
  HeldByte_ = false;
  PurgePort(this);
}

void PurgePort(TUart* port) {
  if (port == nullptr || port->Closed) return;
  PurgeComm(port->Handle(), kPurgeBoth);
}

PortState OpenConfiguredPort() {
  try {
    Uart.reset();
    Uart = std::make_unique<TUart>(Settings.PortNumber);
  } catch (...) {
    Uart.reset();
  }
  return CurrentPortState();
}

PortState CurrentPortState() { return PortStateOf(Uart != nullptr, Uart != nullptr && Uart->Closed); }
