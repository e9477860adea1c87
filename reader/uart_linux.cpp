#include "reader/uart_device_linux.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/settings_file_linux.h"
#include "reader/line_watch.h"
#include "reader/line_watch_linux.h"
#include "reader/port_state.h"
#include "reader/serial_ports_linux.h"
#include "reader/stop_signal_linux.h"

std::unique_ptr<TUart> Uart;

namespace {

void SetLine(termios& line) {
  cfmakeraw(&line);
  cfsetispeed(&line, B19200);
  cfsetospeed(&line, B19200);
  line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
  line.c_cflag |= CS8 | CLOCAL | CREAD;
  line.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  // Reads return at once with whatever is buffered, possibly nothing.
  line.c_cc[VMIN] = 0;
  line.c_cc[VTIME] = 0;
}

// Opens the device exclusively; none, with errno set, when it did not open.
TUniqueFd OpenSerialDevice(const std::string& device) {
  TUniqueFd fd(open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.Valid()) return fd;
  if (flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 || ioctl(fd.Get(), TIOCEXCL) != 0) {
    const int error = errno == EWOULDBLOCK ? EBUSY : errno;
    fd.Reset();
    errno = error;
  }
  return fd;
}

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
  device.DeniedForWantOfGroup = false;
  if (!PortName.empty()) device.Fd = OpenSerialDevice(PortName);
  if (!device.Fd.Valid()) {
    device.DeniedForWantOfGroup =
        (errno == EACCES || errno == EPERM) && ::DeniedForWantOfGroup(PortName);
    Status = kOpenFailed;
    return false;
  }
  Closed = false;
  return ConfigureLine();
}

bool TUart::ConfigureLine() {
  const int fd = Device_->Fd.Get();
  termios line{};
  if (tcgetattr(fd, &line) != 0) return Fail(kGetLineFailed);
  SetLine(line);
  if (tcsetattr(fd, TCSANOW, &line) != 0) return Fail(kSetLineFailed);
  // A pseudo-terminal has no modem lines; a real port must not signal the reader.
  const int lines = TIOCM_DTR | TIOCM_RTS;
  ioctl(fd, TIOCMBIC, &lines);
  Status = kOk;
  return true;
}

bool TUart::Close() {
  if (!Device_->Fd.Reset() && errno != EINTR) {
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

bool TUart::Send(std::span<const std::uint8_t> data) {
  Status = kWriteFailed;
  if (Closed || data.size() > kMaxWrite) return false;
  if (write(Device_->Fd.Get(), data.data(), data.size()) != static_cast<ssize_t>(data.size()))
    return false;
  Status = kOk;
  return true;
}

TPortWake TUart::Wait(std::optional<std::chrono::milliseconds> limit, const TStopSignal& stop) {
  if (Closed) return TPortWake::Lost;
  std::array<pollfd, 2> watched{{{stop.Fd(), POLLIN, 0}, {Device_->Fd.Get(), POLLIN, 0}}};
  const int timeout = limit ? static_cast<int>(limit->count()) : -1;
  int ready = 0;
  while ((ready = poll(watched.data(), watched.size(), timeout)) < 0 && errno == EINTR) {
  }
  if (ready < 0) {
    ReadError_ = LineErrorOfErrno(errno);
    return TPortWake::Lost;
  }
  if ((watched[0].revents & POLLIN) != 0) return TPortWake::Stop;
  if ((watched[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
    ReadError_ = LineError::DeviceNotConnected;
    return TPortWake::Lost;
  }
  return (watched[1].revents & POLLIN) != 0 ? TPortWake::Bytes : TPortWake::Quiet;
}

// A device that went away hangs its line up: poll says so, where a read would only say
// "nothing yet".
bool TUart::Receive(std::span<std::uint8_t, kPortReadSize> destination, std::uint32_t& count) {
  ReadError_ = LineError::None;
  Status = kReadFailed;
  if (Closed) return false;
  pollfd watched{Device_->Fd.Get(), POLLIN, 0};
  if (poll(&watched, 1, 0) < 0) {
    ReadError_ = LineErrorOfErrno(errno);
    return false;
  }
  if ((watched.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
    ReadError_ = LineError::DeviceNotConnected;
    return false;
  }
  ssize_t got = 0;
  if ((watched.revents & POLLIN) != 0) {
    got = read(Device_->Fd.Get(), destination.data(), destination.size());
    if (got < 0 && errno != EAGAIN) {
      ReadError_ = LineErrorOfErrno(errno);
      return false;
    }
  }
  count = static_cast<std::uint32_t>(std::max<ssize_t>(got, 0));
  Status = kOk;
  return true;
}

void TUart::Purge() { PurgePort(this); }

void PurgePort(TUart* port) {
  if (port == nullptr || port->Closed) return;
  tcflush(port->Device().Fd.Get(), TCIOFLUSH);
}

PortState OpenConfiguredPort() {
  try {
    Uart.reset();
    Uart = std::make_unique<TUart>(PortDevice);
  } catch (...) {
    Uart.reset();
  }
  return CurrentPortState();
}

bool PortIsOpen() { return Uart != nullptr && !Uart->Closed; }

bool PortDeniedToUser() {
  return Uart != nullptr && Uart->Closed && Uart->Device().DeniedForWantOfGroup;
}

PortState CurrentPortState() {
  return PortStateOf(Uart != nullptr, Uart != nullptr && Uart->Closed);
}
