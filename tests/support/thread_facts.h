// What a process's threads are doing, seen from outside.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>

#include "core/unique_handle_win.h"

// The number of threads the process runs now, or -1 when the platform would not say.
int ThreadCount(DWORD processId);

// The processor time the thread has used so far, kernel and user, in 100 ns units.
std::uint64_t ThreadCpuTime(HANDLE thread);

// The CPU time of every thread of a process over an interval. Wine answers GetProcessTimes
// for another process with zeros but keeps each thread's times, so the threads are summed:
// those there at the start are held open to the end, and those begun meanwhile count whole.
class TProcessThreadsCpu {
 public:
  explicit TProcessThreadsCpu(DWORD processId);
  // CPU milliseconds of the process's threads since this object was made.
  double MsSinceStart();

 private:
  struct TThread {
    TUniqueHandle Handle;
    std::uint64_t Start;
  };
  void Take();

  DWORD ProcessId_;
  std::map<DWORD, TThread> Threads_;
};
