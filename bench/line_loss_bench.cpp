// The CPU the real Lintavo.exe takes while its port is missing (the line watch retrying the
// port every 2 s, no reader), against the same program idle with the port present (the
// reader polling every 40 ms, the line watch checking the device every half second), read
// from this process. Not a test: run it
// by hand inside the rig, e.g.
//   tests/rig/session start
//   tests/rig/with-ports 2 -- \
//       tests/rig/wine-run build/win32/bench/line_loss_bench.exe [seconds]
//   tests/rig/session stop
// Seconds per measurement: 30 unless given.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/e2e/lintavo_instance.h"
#include "core/unique_handle_win.h"
#include "tests/support/rig_port_control.h"
#include "tests/support/thread_facts.h"
#include "tests/support/wait.h"

namespace {

constexpr int kPort = 2;

std::uint64_t Ticks(FILETIME t) { return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; }

std::uint64_t ProcessCpu100ns(DWORD processId) {
  const TUniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
  FILETIME created, exited, kernel, user;
  if (!process || !GetProcessTimes(process.Get(), &created, &exited, &kernel, &user)) return 0;
  return Ticks(kernel) + Ticks(user);
}

struct TCpu {
  double ThreadsMs;
  double ProcessMs;  // what GetProcessTimes says
};

TCpu CpuOver(const e2e::TLintavoInstance& lintavo, int seconds) {
  TProcessThreadsCpu threads(lintavo.ProcessId());
  const std::uint64_t process = ProcessCpu100ns(lintavo.ProcessId());
  Sleep(static_cast<DWORD>(seconds) * 1000);
  return {threads.MsSinceStart(),
          static_cast<double>(ProcessCpu100ns(lintavo.ProcessId()) - process) / 10'000.0};
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
    std::puts("Lintavo did not start");
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
