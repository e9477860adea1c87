// The reader thread of the Linux edition: runs the reader loop on the port with the X
// typing; the counterpart of dev_th_win.h.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "core/common.h"
#include "reader/reader_loop.h"
#include "reader/reader_port.h"
#include "reader/reader_slot.h"
#include "reader/stop_signal_linux.h"

// Where a reader tells that it ended on its own (its line is lost, or it failed: Ended, with
// the reader's number), and what hears of every card (Sink, when given). Both are called on
// the reader thread, so they must only queue the news for the GUI thread. A reader touches
// no window of this program otherwise.
struct TReaderNotice {
  std::function<void(std::uint32_t number)> Ended;
  TOutcomeSink* Sink = nullptr;
};

class TDevTh {
 public:
  // The thread's name in the system's process list while it reads.
  static constexpr char kThreadName[] = "lintavo-reader";

  // A thread created waiting to be resumed that reads `port`, or none when the system
  // refused one. `number` tells its notice apart from those of readers before it.
  static std::unique_ptr<TDevTh> Create(TReaderPort* port, TReaderNotice notice,
                                        std::uint32_t number);
  // Stops and waits for the work loop, so the object never outlives its thread.
  ~TDevTh();
  TDevTh(const TDevTh&) = delete;
  TDevTh& operator=(const TDevTh&) = delete;

  void Resume();
  // Ends the loop's wait at once; a card being typed is typed to the end first.
  void Terminate() {
    Terminated_.store(true);
    Stop_.Raise();
  }
  void WaitFor();
  bool Terminated() const { return Terminated_.load(); }
  std::uint32_t Number() const { return Number_; }

 private:
  TDevTh(TReaderPort* port, TReaderNotice notice, std::uint32_t number)
      : Port_(port), Notice_(std::move(notice)), Number_(number) {}
  void Run();
  void Execute();
  void NoticeEnd() const;

  TReaderPort* const Port_;
  const TReaderNotice Notice_;
  const std::uint32_t Number_;
  std::thread Thread_;
  std::mutex ResumeLock_;
  std::condition_variable ResumeSignal_;
  bool Resumed_ = false;
  std::atomic<bool> Terminated_{false};
  TStopSignal Stop_;
};

// The one reader thread, or none.
extern TReaderSlot<TDevTh> ReaderThread;

// Stops any running reader and leaves a new one on Uart waiting in ReaderThread; it calls
// `notice` when its line is lost or it fails.
void StartReader(const TReaderNotice& notice = {});

// Stops any running reader, opens the configured port anew and, when it opened, starts a
// reader on it; the port's state. The reader reads Uart without a lock, so it has ended
// before the port object is replaced.
PortState ReopenPortWithReader(const TReaderNotice& notice);
