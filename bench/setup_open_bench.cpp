// Times opening the setup dialog (its creation and LoadFromSettings, which probes every port
// but the current one) and prints the median, the fastest and the slowest of the runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "ui/setup/setup_form_win.h"

namespace {

constexpr int kRuns = 15;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
  // No current port, so all 100 are probed.
  Settings.PortNumber = 0;
  std::vector<int> present;
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    present.clear();
    const TPortProbe countingProbe = [&present](int port) {
      const bool opened = ProbePort(port);
      if (opened) present.push_back(port);
      return opened;
    };
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    std::unique_ptr<TSetupForm> form = TSetupForm::Create(countingProbe);
    if (!form) return 1;
    form->LoadFromSettings(2);
    QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end));
  }
  std::sort(times.begin(), times.end());
  std::printf("setup dialog open, %zu of 100 ports present (", present.size());
  for (int port : present) std::printf(" COM%d", port);
  std::printf(" ), %d runs: median %.1f ms, min %.1f ms, max %.1f ms\n", kRuns,
              times[times.size() / 2], times.front(), times.back());
  return 0;
}
