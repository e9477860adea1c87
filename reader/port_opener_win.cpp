#include "reader/port_opener_win.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "reader/port_state.h"
#include "reader/uart.h"

namespace {

// A second cancel, while the program ends, comes at this pace.
constexpr DWORD kCancelAgainMs = 50;
// An open needs little stack; a hundred probes of the default size would crowd a 32-bit
// program's address space.
constexpr SIZE_T kOpenStackBytes = 256 * 1024;

struct TOpenThread {
  std::uint64_t Ticket;
  TUniqueHandle Thread;
  bool Cancelled = false;
};

// Every open thread that has not yet ended. Each thread takes itself out, and lets its own
// handle go, as its last step, so that nothing of an ended open stays behind; the lock keeps
// a handle valid while it is cancelled or copied.
TSlimLock OpenThreadsLock;
std::vector<TOpenThread> OpenThreads;
std::uint64_t LastTicket = 0;

void Cancel(TOpenThread& thread) {
  thread.Cancelled = true;
  CancelSynchronousIo(thread.Thread.Get());
}

struct TOpenThreadStart {
  LPTHREAD_START_ROUTINE Proc;
  void* Param;
  std::uint64_t Ticket;
};

DWORD WINAPI OpenThreadStart(void* param) {
  const TOpenThreadStart start = *static_cast<TOpenThreadStart*>(param);
  delete static_cast<TOpenThreadStart*>(param);
  const DWORD result = start.Proc(start.Param);
  const std::lock_guard lock(OpenThreadsLock);
  std::erase_if(OpenThreads,
                [&](const TOpenThread& thread) { return thread.Ticket == start.Ticket; });
  return result;
}

// Copies of the handles of the threads still running, each cancelled.
std::vector<TUniqueHandle> CancelAll() {
  std::vector<TUniqueHandle> copies;
  const std::lock_guard lock(OpenThreadsLock);
  for (TOpenThread& thread : OpenThreads) {
    Cancel(thread);
    HANDLE copy = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), thread.Thread.Get(), GetCurrentProcess(), &copy, 0,
                        FALSE, DUPLICATE_SAME_ACCESS))
      copies.emplace_back(copy);
  }
  return copies;
}

struct TOpenJob {
  std::shared_ptr<TPortOpener::TShared> Shared;
  std::unique_ptr<TUart> Old;
  std::unique_ptr<TUart> Unwanted;  // an answer delivered but replaced before it was taken
  TUartOpen Open;
  int Port;
  std::uint32_t Number;
  HWND Window;
  UINT Message;
};

DWORD WINAPI OpenThreadProc(void* param) {
  const std::unique_ptr<TOpenJob> job(static_cast<TOpenJob*>(param));
  job->Unwanted.reset();
  job->Old.reset();
  std::unique_ptr<TUart> opened;
  try {
    opened = job->Open(job->Port);
  } catch (...) {
    opened.reset();
  }
  // An answer nobody wants any more is let go here, on this thread, when `opened` goes.
  const std::lock_guard lock(job->Shared->Lock);
  if (!job->Shared->Opening.Deliver(job->Number)) return 0;
  job->Shared->Answer = std::move(opened);
  PostMessageW(job->Window, job->Message, job->Number, 0);
  return 0;
}

}  // namespace

TOpenedDevice OpenPortDevice(const std::wstring& devicePath) {
  TOpenedDevice opened;
  opened.Device.Reset(CreateFileW(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
  if (!opened.Device.Valid()) {
    opened.Error = GetLastError();
    opened.Device.Release();
  }
  return opened;
}

std::uint64_t StartOpenThread(LPTHREAD_START_ROUTINE proc, void* param) {
  const std::lock_guard lock(OpenThreadsLock);
  auto start = std::make_unique<TOpenThreadStart>(TOpenThreadStart{proc, param, LastTicket + 1});
  // Suspended until it is in the list, which it leaves as it ends.
  TUniqueHandle thread(CreateThread(nullptr, kOpenStackBytes, &OpenThreadStart, start.get(),
                                    CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
  if (!thread.Valid()) {
    thread.Release();
    return 0;
  }
  start.release();
  const HANDLE running = thread.Get();
  OpenThreads.push_back({++LastTicket, std::move(thread)});
  ResumeThread(running);
  return LastTicket;
}

void CancelOpenThread(std::uint64_t ticket) {
  const std::lock_guard lock(OpenThreadsLock);
  for (TOpenThread& thread : OpenThreads) {
    if (thread.Ticket == ticket) Cancel(thread);
  }
}

bool OpenThreadRunning(std::uint64_t ticket) {
  const std::lock_guard lock(OpenThreadsLock);
  return std::ranges::any_of(OpenThreads,
                             [&](const TOpenThread& thread) { return thread.Ticket == ticket; });
}

void RecancelOpens() {
  const std::lock_guard lock(OpenThreadsLock);
  for (TOpenThread& thread : OpenThreads) {
    if (thread.Cancelled) Cancel(thread);
  }
}

void EndPortOpens(DWORD budgetMs) {
  const ULONGLONG until = GetTickCount64() + budgetMs;
  for (const TUniqueHandle& thread : CancelAll()) {
    for (;;) {
      const ULONGLONG now = GetTickCount64();
      if (now >= until) return;
      const DWORD slice = static_cast<DWORD>(std::min<ULONGLONG>(until - now, kCancelAgainMs));
      if (WaitForSingleObject(thread.Get(), slice) != WAIT_TIMEOUT) break;
      CancelSynchronousIo(thread.Get());
    }
  }
}

void CancelPortOpens() { CancelAll(); }

std::unique_ptr<TUart> OpenUart(int port) { return std::make_unique<TUart>(PortDevicePath(port)); }

TPortOpener::TPortOpener(HWND window, UINT message, TUartOpen open, std::uint64_t deadlineMs)
    : Shared_(std::make_shared<TShared>(deadlineMs)),
      Window_(window),
      Message_(message),
      Open_(std::move(open)) {}

TPortOpener::~TPortOpener() {
  const std::lock_guard lock(Shared_->Lock);
  Shared_->Opening.Abandon();
}

void TPortOpener::Open(std::unique_ptr<TUart> old, int port) {
  std::uint32_t number = 0;
  std::unique_ptr<TUart> unwanted;
  {
    const std::lock_guard lock(Shared_->Lock);
    unwanted = std::move(Shared_->Answer);
    number = Shared_->Opening.Begin(GetTickCount64());
  }
  CancelOpenThread(Ticket_);
  auto job = std::make_unique<TOpenJob>(TOpenJob{Shared_, std::move(old), std::move(unwanted),
                                                 Open_, port, number, Window_, Message_});
  Ticket_ = StartOpenThread(&OpenThreadProc, job.get());
  if (Ticket_ != 0) {
    job.release();
    return;
  }
  // No thread, no open: the port is not open, and the answer says so at once.
  const std::lock_guard lock(Shared_->Lock);
  if (Shared_->Opening.Deliver(number)) PostMessageW(Window_, Message_, number, 0);
}

bool TPortOpener::UnderWay() const {
  const std::lock_guard lock(Shared_->Lock);
  return Shared_->Opening.UnderWay();
}

std::optional<std::unique_ptr<TUart>> TPortOpener::Take(WPARAM number) {
  const std::lock_guard lock(Shared_->Lock);
  if (!Shared_->Opening.Take(static_cast<std::uint32_t>(number))) return std::nullopt;
  return std::move(Shared_->Answer);
}

bool TPortOpener::GiveUpLate() {
  {
    const std::lock_guard lock(Shared_->Lock);
    if (!Shared_->Opening.Expired(GetTickCount64())) return false;
  }
  CancelOpenThread(Ticket_);
  return true;
}

bool TPortOpener::StillHanging() const {
  return !UnderWay() && Ticket_ != 0 && OpenThreadRunning(Ticket_);
}
