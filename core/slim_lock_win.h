// A lock that makes no kernel object however often it is contended (the C++ runtime's mutex
// makes one on its first contention and keeps it), for locks that live as long as the program.
#pragma once

#include <windows.h>

class TSlimLock {
 public:
  TSlimLock() = default;
  TSlimLock(const TSlimLock&) = delete;
  TSlimLock& operator=(const TSlimLock&) = delete;

  void lock() { AcquireSRWLockExclusive(&Lock_); }
  void unlock() { ReleaseSRWLockExclusive(&Lock_); }

 private:
  SRWLOCK Lock_ = SRWLOCK_INIT;
};
