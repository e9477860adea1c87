#include "tests/support/child_process.h"

TChildProcess::TChildProcess(std::wstring commandLine, const std::wstring& workingDir) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  Started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            workingDir.empty() ? nullptr : workingDir.c_str(), &startup,
                            &info) != FALSE;
  if (!Started_) return;
  const TUniqueHandle thread(info.hThread);
  Process_.Reset(info.hProcess);
  ProcessId_ = info.dwProcessId;
}

DWORD TChildProcess::Wait(DWORD timeoutMs) const {
  DWORD code = STILL_ACTIVE;
  if (Process_.Valid() && WaitForSingleObject(Process_.Get(), timeoutMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(Process_.Get(), &code);
  return code;
}

void TChildProcess::Kill() {
  if (!Process_.Valid() || WaitForSingleObject(Process_.Get(), 0) != WAIT_TIMEOUT) return;
  TerminateProcess(Process_.Get(), 1);
  WaitForSingleObject(Process_.Get(), 5000);
}
