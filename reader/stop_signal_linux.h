// The reader thread's stop on Linux: an eventfd that the reader polls beside its port.
#pragma once

#include "core/unique_fd_posix.h"

class TStopSignal {
 public:
  TStopSignal();
  TStopSignal(const TStopSignal&) = delete;
  TStopSignal& operator=(const TStopSignal&) = delete;

  // False when the system gave no descriptor; the reader then cannot be stopped and must
  // not start.
  bool Valid() const { return Fd_.Valid(); }
  // Stays raised: every later wait on it ends at once.
  void Raise() const;
  // Sleeps until the stop is raised.
  void Wait() const;
  int Fd() const { return Fd_.Get(); }

 private:
  TUniqueFd Fd_;
};
