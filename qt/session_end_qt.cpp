#include "qt/session_end_qt.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

// The handler may only write: the byte wakes the GUI thread.
int SignalPipe = -1;

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(SignalPipe, &byte, 1);
}

void Catch(void (*handler)(int)) {
  struct sigaction action{};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

}  // namespace

TSessionEnd::TSessionEnd(std::function<void()> onEnd) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
  Read_ = TUniqueFd(ends[0]);
  Write_ = TUniqueFd(ends[1]);
  SignalPipe = Write_.Get();
  Notifier_ = std::make_unique<QSocketNotifier>(Read_.Get(), QSocketNotifier::Read);
  QObject::connect(Notifier_.get(), &QSocketNotifier::activated, [this, onEnd] {
    char bytes[16];
    while (read(Read_.Get(), bytes, sizeof bytes) > 0) {
    }
    onEnd();
  });
  Catch(OnSignal);
}

TSessionEnd::~TSessionEnd() {
  Catch(SIG_DFL);
  SignalPipe = -1;
}
