// The CPU the real Lintavo.exe takes while its port is missing (the line watch retrying the
// port every 2 s, no reader), against the same program idle with the port present (the
// reader polling every 40 ms, the line watch checking the device every half second), read
// from this process. Not a test: run it
// by hand inside the rig, e.g.
//   tests/rig/session start
//   LINTAVO_BIN_DIR=$PWD/build/win32/bin tests/rig/with-ports 2 -- \
//       tests/rig/wine-run build/win32/bench/line_loss_bench.exe [seconds]
//   tests/rig/session stop
// Seconds per measurement: 30 unless given.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "tests/e2e/lintavo_instance.h"
#include "tests/win/rig_port_control.h"

namespace {

constexpr int kPort = 2;

std::uint64_t Ticks(FILETIME t) { return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; }

std::uint64_t ProcessCpu100ns(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return Ticks(kernel) + Ticks(user);
}

std::uint64_t ThreadCpu100ns(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return 0;
  return Ticks(kernel) + Ticks(user);
}

// The CPU time of every thread of a process over an interval. Wine answers GetProcessTimes
// for another process with zeros but keeps each thread's times, so the threads are summed:
// those there at the start are held open to the end, and those begun meanwhile count whole.
class TThreadsCpu {
 public:
  explicit TThreadsCpu(DWORD processId) : ProcessId_(processId) { Take(); }
  ~TThreadsCpu() {
    for (const auto& [id, thread] : Threads_) CloseHandle(thread.Handle);
  }
  TThreadsCpu(const TThreadsCpu&) = delete;
  TThreadsCpu& operator=(const TThreadsCpu&) = delete;

  double MsSinceStart() {
    Take();
    std::uint64_t total = 0;
    for (const auto& [id, thread] : Threads_) total += ThreadCpu100ns(thread.Handle) - thread.Start;
    return static_cast<double>(total) / 10'000.0;
  }

 private:
  struct TThread {
    HANDLE Handle;
    std::uint64_t Start;
  };

  void Take() {
    const bool first = Threads_.empty();
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
      if (entry.th32OwnerProcessID != ProcessId_ || Threads_.contains(entry.th32ThreadID)) continue;
      const HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
      if (thread == nullptr) continue;
      Threads_[entry.th32ThreadID] = {thread, first ? ThreadCpu100ns(thread) : 0};
    }
    CloseHandle(snapshot);
  }

  DWORD ProcessId_;
  std::map<DWORD, TThread> Threads_;
};

struct TCpu {
  double ThreadsMs;
  double ProcessMs;  // what GetProcessTimes says
};

TCpu CpuOver(const e2e::TLintavoInstance& lintavo, int seconds) {
  TThreadsCpu threads(lintavo.ProcessId());
  const std::uint64_t process = ProcessCpu100ns(lintavo.Process());
  Sleep(static_cast<DWORD>(seconds) * 1000);
  return {threads.MsSinceStart(),
          static_cast<double>(ProcessCpu100ns(lintavo.Process()) - process) / 10'000.0};
}

bool PortLabelReads(const e2e::TLintavoInstance& lintavo, const std::wstring& text) {
  return WaitUntil(
      [&] {
        const auto texts = lintavo.LabelTexts();
        return texts.size() == 4 && texts[3] == text;
      },
      15'000);
}

void Print(const char* what, TCpu cpu, int seconds) {
  std::printf("%-36s %8.1f ms CPU in %d s (%.3f %% of one core); GetProcessTimes: %.1f ms\n",
              what, cpu.ThreadsMs, seconds, cpu.ThreadsMs / (seconds * 10.0), cpu.ProcessMs);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  e2e::TLintavoInstance lintavo(L"line loss bench");
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=1\r\n");
  if (!lintavo.Start() || lintavo.MainWindow(15'000) == nullptr) {
    std::puts("Lintavo did not start (is LINTAVO_BIN_DIR set?)");
    return 1;
  }
  if (!PortLabelReads(lintavo, L"COM2 - Порт открыт")) {
    std::puts("COM2 did not open");
    return 1;
  }
  Sleep(2000);  // past the start and the first activation
  const TCpu present = CpuOver(lintavo, seconds);

  if (rig::TakeAway(kPort) != rig::Ok("down", kPort) ||
      !PortLabelReads(lintavo, L"COM2 - Порт не открыт")) {
    std::puts("COM2 could not be taken away");
    return 1;
  }
  Sleep(1000);
  const TCpu missing = CpuOver(lintavo, seconds);
  rig::BringBack(kPort);

  Print("idle, port present (reader polling):", present, seconds);
  Print("port missing (reopen every 2 s):", missing, seconds);
  const bool cheaper = missing.ThreadsMs <= present.ThreadsMs;
  std::printf("the missing port costs %s the idle reader\n", cheaper ? "no more than" : "MORE than");
  return cheaper ? 0 : 2;
}
