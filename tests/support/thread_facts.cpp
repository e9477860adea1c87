#include "tests/support/thread_facts.h"

#include <tlhelp32.h>

#include <utility>

#include "core/unique_handle_win.h"

int ThreadCount(DWORD processId) {
  const TUniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot.Valid()) return -1;
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more;
       more = Thread32Next(snapshot.Get(), &entry))
    if (entry.th32OwnerProcessID == processId) ++count;
  return count;
}

std::uint64_t ThreadCpuTime(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(thread, &created, &exited, &kernel, &user);
  auto ticks = [](FILETIME t) { return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
  return ticks(kernel) + ticks(user);
}

TProcessThreadsCpu::TProcessThreadsCpu(DWORD processId) : ProcessId_(processId) { Take(); }

double TProcessThreadsCpu::MsSinceStart() {
  Take();
  std::uint64_t total = 0;
  for (const auto& [id, thread] : Threads_)
    total += ThreadCpuTime(thread.Handle.Get()) - thread.Start;
  return static_cast<double>(total) / 10'000.0;
}

void TProcessThreadsCpu::Take() {
  const bool first = Threads_.empty();
  const TUniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot.Valid()) return;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more;
       more = Thread32Next(snapshot.Get(), &entry)) {
    if (entry.th32OwnerProcessID != ProcessId_ || Threads_.contains(entry.th32ThreadID)) continue;
    TUniqueHandle thread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID));
    if (!thread) continue;
    const std::uint64_t start = first ? ThreadCpuTime(thread.Get()) : 0;
    Threads_.emplace(entry.th32ThreadID, TThread{std::move(thread), start});
  }
}
