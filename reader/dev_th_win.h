// The reader thread: polls the port, assembles frames and types the card numbers.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "core/unique_handle_win.h"

class TDevTh {
 public:
  static constexpr DWORD kPollIntervalMs = 40;

  // A thread created suspended, or none when the platform refused one.
  static std::unique_ptr<TDevTh> Create();
  // Stops and waits for the work loop, so the object never outlives its thread.
  ~TDevTh();
  TDevTh(const TDevTh&) = delete;
  TDevTh& operator=(const TDevTh&) = delete;

  void Resume();
  // Asks the work loop to end after its current pass.
  void Terminate() { Terminated_.store(true); }
  void WaitFor();
  bool Terminated() const { return Terminated_.load(); }
  HANDLE Handle() const { return Thread_.Get(); }

 private:
  TDevTh() = default;
  static DWORD WINAPI ThreadProc(void* self);
  void Execute();

  TUniqueHandle Thread_;
  std::atomic<bool> Terminated_{false};
  bool Suspended_ = true;
  bool Ended_ = false;
};

// The one reader thread, or none. Created, resumed and stopped only by the GUI thread.
extern std::unique_ptr<TDevTh> ReaderThread;

// Stops any running reader and leaves a new one suspended in ReaderThread.
void StartReader();
void ResumeReader();
// Safe with no thread and when called twice.
void StopReader();
