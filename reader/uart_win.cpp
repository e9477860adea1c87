#include "reader/uart_win.h"

#include <algorithm>

#include "reader/port_opener_win.h"
#include "reader/port_state.h"

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
  if (!WriteFile(Handle_.Get(), TxBuf_.data(), count, &TxDone_, nullptr) || TxDone_ != count)
    return false;
  Status = kOk;
  return true;
}

bool TUart::ReadBuffer() {
  RxCount_ = 0;
  ReadError_ = ERROR_SUCCESS;
  Status = kReadFailed;
  if (Closed) return false;
  if (!ReadFile(Handle_.Get(), RxBuf_.data(), kPortReadSize, &RxCount_, nullptr)) {
    ReadError_ = GetLastError();
    RxCount_ = 0;
    return false;
  }
  Status = kOk;
  return true;
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

void TUart::Purge() { PurgePort(this); }

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
