// How long a card takes from the line to another program's window, and what the reader
// costs while nobody presents a card. Not a test: run it by hand inside the rig, e.g.
//   tests/rig/session start
//   tests/rig/with-ports 2 -- tests/rig/wine-run build/win64/bench/reader_bench.exe
//   tests/rig/session stop
// Arguments (optional): number of cards (default 250), idle seconds (default 60).
// The reader runs on COM2 in this process; this process also writes the frames to COM202 and
// watches notepad's edit control, so both ends of a measurement use one clock.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <random>
#include <utility>
#include <vector>

#include "core/common.h"
#include "reader/card_code.h"
#include "reader/dev_th_win.h"
#include "reader/uart_win.h"
#include "tests/support/notepad.h"
#include "tests/support/thread_facts.h"
#include "tools/cardsim/sim_plan.h"

namespace {

constexpr double kTypingTimeoutSeconds = 2.0;

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

double ThreadCpuSeconds(HANDLE thread) { return static_cast<double>(ThreadCpuTime(thread)) / 1e7; }

struct TLatencies {
  std::vector<double> FirstDigitMs;  // the reader's part: poll wait, read, decode, post
  std::vector<double> Ms;            // up to the last digit: adds the target's own typing
  int Lost = 0;
  int Wrong = 0;
};

TLatencies MeasureCards(const TNotepad& notepad, TUart& farEnd, int cards) {
  std::mt19937_64 random(20261208);
  TLatencies result;
  for (int i = 0; i < cards; ++i) {
    const CardCode code = random() & cardsim::kMax40Bit;
    const std::wstring expected = CardCodeText(code);
    notepad.Clear();
    // Land the frames at every phase of the reader's 40 ms poll.
    Sleep(60 + static_cast<DWORD>(random() % 40));
    if (!farEnd.Send(cardsim::Frame40(code))) {
      ++result.Lost;
      continue;
    }
    const double written = Now();
    double first = 0;
    double arrived = 0;
    while (Now() - written < kTypingTimeoutSeconds) {
      const std::size_t length = notepad.TextLength();
      if (first == 0 && length > 0) first = Now();
      if (length >= expected.size()) {
        arrived = Now();
        break;
      }
      // Notepad handles a sent query before any posted character, so asking without a
      // pause would hold the digits back and measure the benchmark itself.
      Sleep(1);
    }
    if (arrived == 0) {
      ++result.Lost;
      continue;
    }
    if (notepad.Text() != expected) ++result.Wrong;
    result.FirstDigitMs.push_back((first - written) * 1000);
    result.Ms.push_back((arrived - written) * 1000);
  }
  return result;
}

double Percentile(std::vector<double> sorted, double p) {
  const auto at = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(at, sorted.size() - 1)];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int cards = argc > 1 ? std::max(1, _wtoi(argv[1])) : 250;
  const int idleSeconds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 60;
  Settings.PortNumber = 2;
  SetReaderType(1);
  if (OpenConfiguredPort() != PortOpen) {
    std::printf("COM2 did not open (run inside tests/rig/with-ports 2)\n");
    return 1;
  }
  TUart farEnd(202);
  TNotepad notepad;
  if (farEnd.Closed || notepad.Edit() == nullptr || !notepad.Focus()) {
    std::printf("COM202 or notepad is not usable\n");
    return 1;
  }
  StartReader();
  ResumeReader();

  TLatencies latencies = MeasureCards(notepad, farEnd, cards);
  std::sort(latencies.FirstDigitMs.begin(), latencies.FirstDigitMs.end());
  std::sort(latencies.Ms.begin(), latencies.Ms.end());

  notepad.Clear();
  const double idleStart = Now();
  const double cpuStart = ThreadCpuSeconds(ReaderThread->Handle());
  Sleep(static_cast<DWORD>(idleSeconds) * 1000);
  const double idleCpu = ThreadCpuSeconds(ReaderThread->Handle()) - cpuStart;
  const double idleWall = Now() - idleStart;
  StopReader();

  std::printf("reader benchmark: %d cards, %d typed, %d lost, %d wrong\n", cards,
              static_cast<int>(latencies.Ms.size()), latencies.Lost, latencies.Wrong);
  std::printf("%-36s %9s %9s %9s\n", "latency from the frame's last byte", "p50", "p99", "max");
  if (!latencies.Ms.empty()) {
    for (const auto& [name, ms] : {std::pair{"to the first digit (ms)", &latencies.FirstDigitMs},
                                   std::pair{"to the last digit (ms)", &latencies.Ms}})
      std::printf("%-36s %9.2f %9.2f %9.2f\n", name, Percentile(*ms, 0.50),
                  Percentile(*ms, 0.99), ms->back());
  }
  std::printf("%-36s %9.3f\n", "idle reader CPU (% of one core)", 100 * idleCpu / idleWall);
  std::printf("%-36s %9.1f\n", "idle wall time (s)", idleWall);
  return latencies.Lost == 0 && latencies.Wrong == 0 ? 0 : 1;
}
