#include "reader/dev_th_posix.h"

#include <pthread.h>

#include "reader/card_typing_linux.h"
#include "reader/reader_loop.h"
#include "reader/uart.h"

TReaderSlot<TDevTh> ReaderThread;

namespace {

// The X typing; what became of each card goes to the notice's sink.
class TXDesk final : public TTyper, public TOutcomeSink {
 public:
  explicit TXDesk(TOutcomeSink* sink) : Sink_(sink) {}

  TCardOutcome Type(CardCode code) override { return Typer_.Type(code); }
  void Outcome(const TCardOutcome& outcome) override {
    if (Sink_ != nullptr) Sink_->Outcome(outcome);
  }

 private:
  TOutcomeSink* const Sink_;
  TCardTyper Typer_;
};

}  // namespace

std::unique_ptr<TDevTh> TDevTh::Create(TReaderPort* port, TReaderNotice notice,
                                       std::uint32_t number) {
  std::unique_ptr<TDevTh> thread(new TDevTh(port, std::move(notice), number));
  if (!thread->Stop_.Valid()) return nullptr;
  try {
    thread->Thread_ = std::thread(&TDevTh::Run, thread.get());
  } catch (const std::system_error&) {
    return nullptr;
  }
  return thread;
}

TDevTh::~TDevTh() {
  Resume();
  Terminate();
  WaitFor();
}

void TDevTh::Resume() {
  const std::lock_guard lock(ResumeLock_);
  Resumed_ = true;
  ResumeSignal_.notify_one();
}

void TDevTh::WaitFor() {
  if (Thread_.joinable()) Thread_.join();
}

// Nothing may unwind out of the thread; a failure ends the reader and the main window
// hears of it, as of a lost line.
void TDevTh::Run() {
  {
    std::unique_lock lock(ResumeLock_);
    ResumeSignal_.wait(lock, [this] { return Resumed_; });
  }
  try {
    Execute();
  } catch (...) {
    NoticeEnd();
  }
}

void TDevTh::NoticeEnd() const {
  if (Notice_.Ended) Notice_.Ended(Number_);
}

// The port is read here without a lock because the GUI thread replaces Uart only after
// ReaderThread.Stop has returned, and it returns only after this loop has ended. A lost
// line ends the loop: waiting on a device that is gone would only fail again. With no port
// object there is nothing to read, and the thread sleeps until it is stopped.
void TDevTh::Execute() {
  if (Port_ != nullptr) Port_->Purge();
  // Named once it reads, for the operator's process list and for the tests, which present
  // a card only to a reader that has dropped what came before it.
  pthread_setname_np(pthread_self(), kThreadName);
  if (Port_ == nullptr) {
    Stop_.Wait();
    return;
  }
  TXDesk desk(Notice_.Sink);
  if (TReaderLoop(*Port_, Stop_, desk, desk).Run() == TReaderEnd::Lost) NoticeEnd();
}

void StartReader(const TReaderNotice& notice) { ReaderThread.Start(Uart.get(), notice); }

PortState ReopenPortWithReader(const TReaderNotice& notice) {
  ReaderThread.Stop();
  const PortState state = OpenConfiguredPort();
  if (state == PortOpen) {
    StartReader(notice);
    ReaderThread.Resume();
  }
  return state;
}
