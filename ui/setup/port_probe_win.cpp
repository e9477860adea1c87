#include "ui/setup/port_probe_win.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <utility>

#include "core/unique_handle_win.h"

namespace {

// A probe needs little stack, and a hundred of the default size would crowd a 32-bit
// program's address space.
constexpr SIZE_T kProbeStackBytes = 256 * 1024;
// While the program ends, a blocked open is cancelled again at this pace: a cancel that
// came before the thread entered its open found nothing to cancel.
constexpr DWORD kCancelAgainMs = 50;

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

// Every probe thread started and not yet seen to end.
std::vector<TUniqueHandle> ProbeThreads;

void ForgetEndedThreads() {
  std::erase_if(ProbeThreads, [](const TUniqueHandle& thread) {
    return WaitForSingleObject(thread.Get(), 0) == WAIT_OBJECT_0;
  });
}

DWORD WINAPI ProbeThreadProc(void* param) {
  const std::unique_ptr<TProbeJob> job(static_cast<TProbeJob*>(param));
  TRoundShared& shared = *job->Shared;
  int port = 0;
  {
    const std::lock_guard lock(shared.Lock);
    // A round that closed before this thread got going wants no open at all.
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

// A thread for the probe of one port, or none when the system gave none.
HANDLE StartProbe(const std::shared_ptr<TRoundShared>& shared, std::size_t index) {
  auto job = std::make_unique<TProbeJob>(TProbeJob{shared, index});
  const HANDLE thread = CreateThread(nullptr, kProbeStackBytes, &ProbeThreadProc, job.get(),
                                     STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread != nullptr) job.release();
  return thread;
}

}  // namespace

TProbeRound ProbePortsSideBySide(std::vector<int> ports, const TPortProbe& probe) {
  ForgetEndedThreads();
  const auto shared = std::make_shared<TRoundShared>(std::move(ports), probe);
  const std::size_t count = shared->Round.Ports().size();
  std::vector<HANDLE> threads(count, nullptr);
  for (std::size_t index = 0; index < count; ++index) {
    threads[index] = StartProbe(shared, index);
    if (threads[index] != nullptr) {
      ProbeThreads.emplace_back(threads[index]);
    } else {
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
    if (threads[index] != nullptr) CancelSynchronousIo(threads[index]);
  }
  return shared->Round;
}

void EndPortProbes() {
  for (const TUniqueHandle& thread : ProbeThreads) {
    while (WaitForSingleObject(thread.Get(), kCancelAgainMs) == WAIT_TIMEOUT)
      CancelSynchronousIo(thread.Get());
  }
  ProbeThreads.clear();
}
