// A text field that takes its keys through IBus, as the GNOME and KDE desks run it: a private
// ibus-daemon on the test's display and a Qt field of the test's own using it.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <string>

#include "tests/linux/x_session.h"

class TIBusTarget {
 public:
  // `folder` holds the daemon's address and what the field received.
  explicit TIBusTarget(const std::string& folder);
  ~TIBusTarget();
  TIBusTarget(const TIBusTarget&) = delete;
  TIBusTarget& operator=(const TIBusTarget&) = delete;

  void Focus();
  // What arrived since the last call once it ends with `tail`, or when the time ran out.
  std::string TextUntil(const std::string& tail, std::chrono::milliseconds limit);

 private:
  std::string Arrived() const;

  Display* Display_ = nullptr;
  std::string File_;
  std::size_t Read_ = 0;
  TChild Daemon_;
  TChild Field_;
  Window Window_ = 0;
};
