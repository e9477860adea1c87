// The end of the desktop session: the session manager, or systemd when the user's session
// closes, ends the program with SIGTERM. The signal becomes a call on the GUI thread, so
// that the program ends as at its own exit: the placement saved, the reader stopped, the
// port let go.
#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "core/unique_fd_posix.h"

class TSessionEnd final {
 public:
  // Catches SIGTERM and SIGHUP for as long as it lives.
  explicit TSessionEnd(std::function<void()> onEnd);
  ~TSessionEnd();
  TSessionEnd(const TSessionEnd&) = delete;
  TSessionEnd& operator=(const TSessionEnd&) = delete;

 private:
  TUniqueFd Read_;
  TUniqueFd Write_;
  std::unique_ptr<QSocketNotifier> Notifier_;
};
