#include "reader/stop_signal_linux.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <cstdint>

TStopSignal::TStopSignal() : Fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void TStopSignal::Raise() const {
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto written = write(Fd_.Get(), &one, sizeof one);
}

void TStopSignal::Wait() const {
  pollfd watched{Fd_.Get(), POLLIN, 0};
  while (poll(&watched, 1, -1) <= 0 || (watched.revents & POLLIN) == 0) {
  }
}
