// Times opening the setup dialog (its creation and LoadFromSettings, which probes every port
// but the current one) and prints the median, the fastest and the slowest of the runs: once
// with the ports as they are, once with one port standing in for a Bluetooth port whose open
// hangs for seconds.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

#include "reader/port_opener_win.h"
#include "ui/setup/port_probe_win.h"
#include "ui/setup/setup_form_win.h"

namespace {

constexpr int kRuns = 15;
constexpr int kHangingPort = 7;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Median, fastest and slowest opening of the dialog with the probe given.
std::vector<double> TimeOpenings(const TPortProbe& probe) {
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    std::unique_ptr<TSetupForm> form = TSetupForm::Create(probe);
    if (!form) return {};
    form->LoadFromSettings(2);
    QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end));
  }
  std::sort(times.begin(), times.end());
  return times;
}

void Print(const char* what, const std::vector<double>& times) {
  if (times.empty()) {
    std::printf("%s: the dialog could not be made\n", what);
    return;
  }
  std::printf("%s, %d runs: median %.1f ms, min %.1f ms, max %.1f ms\n", what, kRuns,
              times[times.size() / 2], times.front(), times.back());
}

}  // namespace

int main() {
  // No current port, so all 100 are probed.
  Settings.PortNumber = 0;
  std::mutex lock;
  std::vector<int> present;
  const TPortProbe countingProbe = [&](int port) {
    const bool opened = ProbePort(port);
    const std::lock_guard hold(lock);
    if (opened && std::find(present.begin(), present.end(), port) == present.end())
      present.push_back(port);
    return opened;
  };
  const std::vector<double> plain = TimeOpenings(countingProbe);
  std::sort(present.begin(), present.end());
  std::printf("%zu of 100 ports present (", present.size());
  for (int port : present) std::printf(" COM%d", port);
  std::printf(" )\n");
  Print("setup dialog open", plain);

  // The hanging open is a read of a pipe nobody writes to: it ends only when its thread's
  // I/O is cancelled, as a real open that waits for a Bluetooth connection does.
  std::atomic<int> hung{0};
  std::atomic<int> cancelled{0};
  const TPortProbe hangingProbe = [&](int port) {
    if (port != kHangingPort) return ProbePort(port);
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, nullptr, 0)) return false;
    ++hung;
    char byte = 0;
    DWORD got = 0;
    if (!ReadFile(read, &byte, 1, &got, nullptr) && GetLastError() == ERROR_OPERATION_ABORTED)
      ++cancelled;
    CloseHandle(read);
    CloseHandle(write);
    return true;
  };
  Print("setup dialog open with one port that hangs", TimeOpenings(hangingProbe));
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  EndPortOpens();
  QueryPerformanceCounter(&end);
  std::printf("hanging opens: %d begun, %d cancelled; the last probe thread ended %.1f ms "
              "after the program asked\n",
              hung.load(), cancelled.load(), Milliseconds(start, end));
  return 0;
}
