// A program the reader tests start (notepad, cardsim): it never outlives the test that
// started it, whatever the test's assertions did.
#pragma once

#include <windows.h>

#include <string>

class TChildProcess {
 public:
  // Starts commandLine; Started() tells whether that worked.
  explicit TChildProcess(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
      return;
    Process_ = info.hProcess;
    ProcessId_ = info.dwProcessId;
    CloseHandle(info.hThread);
  }
  ~TChildProcess() {
    if (Process_ == nullptr) return;
    if (WaitForSingleObject(Process_, 0) == WAIT_TIMEOUT) {
      TerminateProcess(Process_, 1);
      WaitForSingleObject(Process_, 5000);
    }
    CloseHandle(Process_);
  }
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  bool Started() const { return Process_ != nullptr; }
  DWORD ProcessId() const { return ProcessId_; }
  HANDLE Handle() const { return Process_; }
  // The exit code, or STILL_ACTIVE when it did not end in time.
  DWORD Wait(DWORD timeoutMs) const {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(Process_, timeoutMs) == WAIT_OBJECT_0)
      GetExitCodeProcess(Process_, &code);
    return code;
  }

 private:
  HANDLE Process_ = nullptr;
  DWORD ProcessId_ = 0;
};

// Directory of the running test program, with a trailing backslash.
inline std::wstring TestProgramDir() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, length);
  return dir.substr(0, dir.find_last_of(L'\\') + 1);
}

// cardsim's Windows build, from the test programs' folder of the same build.
inline std::wstring CardsimPath() { return TestProgramDir() + L"..\\tools\\cardsim\\cardsim.exe"; }

// Runs cardsim with the given arguments to the end; its exit code (0 = all written).
inline DWORD RunCardsim(const std::wstring& args, DWORD timeoutMs = 10'000) {
  TChildProcess cardsim(L"\"" + CardsimPath() + L"\" " + args);
  return cardsim.Started() ? cardsim.Wait(timeoutMs) : STILL_ACTIVE;
}
