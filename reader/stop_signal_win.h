// The reader thread's stop on Windows: an event that the reader waits on beside its port.
#pragma once

#include <windows.h>

#include "core/unique_handle_win.h"

class TStopSignal {
 public:
  TStopSignal() : Event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  // False when the system gave no event; the reader then cannot be stopped and must not
  // start.
  bool Valid() const { return Event_.Valid(); }
  // Stays raised: every later wait on it ends at once.
  void Raise() const { SetEvent(Event_.Get()); }
  // Sleeps until the stop is raised.
  void Wait() const { WaitForSingleObject(Event_.Get(), INFINITE); }
  HANDLE Handle() const { return Event_.Get(); }

 private:
  TUniqueHandle Event_;
};
