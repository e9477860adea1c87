// The one place that opens serial ports for the program: the device open itself, the threads
// that run it so that the GUI thread never waits on a device, and the open of the configured
// port under its deadline, answered by message. Start-up, the line's retry, the wake, the
// setup's confirm and the setup's probes all come through here. GUI thread only, but for
// what the threads themselves run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "core/slim_lock_win.h"
#include "core/unique_handle_win.h"
#include "reader/port_opening.h"
#include "reader/uart.h"

struct TOpenedDevice {
  TUniqueHandle Device;  // invalid when the system refused
  DWORD Error = ERROR_SUCCESS;
};

// Opens the device for reading and writing, exclusively, for the reader's overlapped wait:
// the one call that reaches a port's driver to open it. The open itself may hang as long as
// the driver does; run it on a thread started below.
TOpenedDevice OpenPortDevice(const std::wstring& devicePath);

// Runs `proc` with `param` on a thread that opens ports; its ticket, or 0 when the system
// gave no thread (the caller then still owns `param`).
std::uint64_t StartOpenThread(LPTHREAD_START_ROUTINE proc, void* param);
// Cancels the blocked open of a thread, now and again at every RecancelOpens until the
// thread ends: a thread that had not yet entered its open when cancelled is caught then.
void CancelOpenThread(std::uint64_t ticket);
// Whether the thread has yet to end.
bool OpenThreadRunning(std::uint64_t ticket);
// The line timer's pace for the second cancels.
void RecancelOpens();
// The program ends: every open thread is cancelled and waited for, budgetMs in all at most;
// one whose driver ignores the cancel is left to the end of the process.
inline constexpr DWORD kEndOpensBudgetMs = 1000;
void EndPortOpens(DWORD budgetMs = kEndOpensBudgetMs);
// The session ends: every open is cancelled and nothing waits.
void CancelPortOpens();

// Builds the port object for a port number; the real one opens the device. Tests stand a
// slow or hanging open in for it.
using TUartOpen = std::function<std::unique_ptr<TUart>(int port)>;
std::unique_ptr<TUart> OpenUart(int port);

// The configured port opened on a worker under a deadline. The answer comes to `window` as
// `message` with the open's number in wParam; Take hands the port over.
class TPortOpener {
 public:
  TPortOpener(HWND window, UINT message, TUartOpen open = OpenUart,
              std::uint64_t deadlineMs = TPortOpening::kDeadlineMs);
  TPortOpener(const TPortOpener&) = delete;
  TPortOpener& operator=(const TPortOpener&) = delete;
  // An open under way is no longer wanted; its worker lets what it gets go.
  ~TPortOpener();

  // Lets `old` go and opens `port`, both on a worker, the close first since the open is
  // exclusive; an open under way is no longer wanted. No reader may read `old` any more.
  void Open(std::unique_ptr<TUart> old, int port);
  bool UnderWay() const;
  // The answer of the open numbered `number`: none when it is not the one wanted (a later
  // open replaced it, or it was given up), else the port object (none when building failed).
  std::optional<std::unique_ptr<TUart>> Take(WPARAM number);
  // An open past its deadline is cancelled and given up; true when this happened now.
  bool GiveUpLate();
  // The open given up last still hangs in a driver that ignores the cancel: a retry would
  // only add a thread that hangs beside it.
  bool StillHanging() const;

  struct TShared {
    explicit TShared(std::uint64_t deadlineMs) : Opening(deadlineMs) {}
    TSlimLock Lock;
    TPortOpening Opening;
    std::unique_ptr<TUart> Answer;
  };

 private:
  std::shared_ptr<TShared> Shared_;
  HWND Window_;
  UINT Message_;
  TUartOpen Open_;
  std::uint64_t Ticket_ = 0;
};

