#include "ui/setup/port_probe_win.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <utility>

#include "core/unique_handle_win.h"
#include "reader/port_opener_win.h"

namespace {

// What one round's threads share with the dialog, and keep after it is gone.
struct TRoundShared {
  TRoundShared(std::vector<int> ports, TPortProbe probe)
      : Round(std::move(ports), GetTickCount64()),
        Probe(std::move(probe)),
        AllAnswered(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  std::mutex Lock;
  TProbeRound Round;
  const TPortProbe Probe;
  const TUniqueHandle AllAnswered;
};

struct TProbeJob {
  std::shared_ptr<TRoundShared> Shared;
  std::size_t Index;
};

DWORD WINAPI ProbeThreadProc(void* param) {
  const std::unique_ptr<TProbeJob> job(static_cast<TProbeJob*>(param));
  TRoundShared& shared = *job->Shared;
  int port = 0;
  {
    const std::lock_guard lock(shared.Lock);
    // A round that closed before this thread got going wants no open at all. One that
    // closes between here and the open is caught by the cancel repeated on the line tick.
    if (shared.Round.Closed()) return 0;
    port = shared.Round.Ports()[job->Index];
  }
  bool opened = false;
  try {
    opened = shared.Probe(port);
  } catch (...) {
    opened = false;
  }
  const std::lock_guard lock(shared.Lock);
  shared.Round.Answer(job->Index, opened);
  if (shared.Round.AllAnswered()) SetEvent(shared.AllAnswered.Get());
  return 0;
}

// The ticket of the probe's thread for one port, or 0 when the system gave none.
std::uint64_t StartProbe(const std::shared_ptr<TRoundShared>& shared, std::size_t index) {
  auto job = std::make_unique<TProbeJob>(TProbeJob{shared, index});
  const std::uint64_t ticket = StartOpenThread(&ProbeThreadProc, job.get());
  if (ticket != 0) job.release();
  return ticket;
}

}  // namespace

TProbeRound ProbePortsSideBySide(std::vector<int> ports, const TPortProbe& probe) {
  const auto shared = std::make_shared<TRoundShared>(std::move(ports), probe);
  const std::size_t count = shared->Round.Ports().size();
  std::vector<std::uint64_t> tickets(count, 0);
  for (std::size_t index = 0; index < count; ++index) {
    tickets[index] = StartProbe(shared, index);
    if (tickets[index] == 0) {
      // No thread, no open: the port reads as busy or absent.
      const std::lock_guard lock(shared->Lock);
      shared->Round.Answer(index, false);
    }
  }
  {
    const std::lock_guard lock(shared->Lock);
    if (shared->Round.AllAnswered()) SetEvent(shared->AllAnswered.Get());
  }
  for (;;) {
    std::uint64_t waitMs = 0;
    {
      const std::lock_guard lock(shared->Lock);
      waitMs = shared->Round.WaitMs(GetTickCount64());
    }
    if (waitMs == 0) break;
    WaitForSingleObject(shared->AllAnswered.Get(), static_cast<DWORD>(waitMs));
  }
  const std::lock_guard lock(shared->Lock);
  shared->Round.Close();
  // An open that has not answered is given up; the cancel spares its port a connection
  // nobody waits for. A thread still to begin opens nothing, as the round is closed.
  for (const std::size_t index : shared->Round.Unanswered()) {
    if (tickets[index] != 0) CancelOpenThread(tickets[index]);
  }
  return shared->Round;
}
