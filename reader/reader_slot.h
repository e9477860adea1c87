// The one reader thread of the process, or none, whichever platform's thread it is: started,
// resumed and stopped only by the GUI thread, and numbered so that a reader's notice can be
// told apart from those of the readers before it.
#pragma once

#include <cstdint>
#include <memory>

#include "reader/reader_port.h"

template <class Thread>
class TReaderSlot {
 public:
  // Stops any running reader and leaves a new one on `port` waiting to be resumed; none when
  // the system refused a thread. `notice` is where it tells that it ended on its own.
  template <class Notice>
  void Start(TReaderPort* port, const Notice& notice) {
    Stop();
    Thread_ = Thread::Create(port, notice, ++LastNumber_);
  }

  void Resume() {
    if (Thread_) Thread_->Resume();
  }

  // The order matters: a waiting thread must be resumed or it never sees the stop; the stop
  // is raised before the wait, and it ends the loop's wait on the port at once (a card being
  // typed is typed to the end first; a read the wait had pending is cancelled and finished
  // before the wait returns); the thread is freed only after the wait; and only then may the
  // caller replace the port, which the loop reads without a lock. Safe with no thread and
  // when called twice.
  void Stop() {
    if (!Thread_) return;
    Thread_->Resume();
    Thread_->Terminate();
    Thread_->WaitFor();
    Thread_.reset();
  }

  // The number of the running reader, 0 when none runs.
  std::uint32_t RunningNumber() const { return Thread_ ? Thread_->Number() : 0; }

  explicit operator bool() const { return Thread_ != nullptr; }
  Thread* operator->() const { return Thread_.get(); }

 private:
  std::unique_ptr<Thread> Thread_;
  std::uint32_t LastNumber_ = 0;
};
