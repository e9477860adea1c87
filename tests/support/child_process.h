// A program a test starts (notepad, cardsim, a probe, Lintavo.exe itself): it never outlives
// its owner, whatever the test's assertions did.
#pragma once

#include <windows.h>

#include <string>

#include "core/unique_handle_win.h"

class TChildProcess {
 public:
  // Starts commandLine in workingDir (empty: this program's own); Started() tells whether
  // the platform took it.
  explicit TChildProcess(std::wstring commandLine, const std::wstring& workingDir = {});
  ~TChildProcess() { Kill(); }
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  bool Started() const { return Started_; }
  DWORD ProcessId() const { return ProcessId_; }
  bool Running() const { return Wait(0) == STILL_ACTIVE; }
  // The exit code, or STILL_ACTIVE when it did not end in time. Wine starts a Linux program
  // without a handle to wait on; that one counts as still running.
  DWORD Wait(DWORD timeoutMs) const;
  // Ends the program if it still runs.
  void Kill();

 private:
  TUniqueHandle Process_;
  DWORD ProcessId_ = 0;
  bool Started_ = false;
};
