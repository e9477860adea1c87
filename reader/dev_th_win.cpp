#include "reader/dev_th_win.h"

#include "reader/card_typing_win.h"
#include "reader/reader_loop.h"
#include "reader/uart.h"

TReaderSlot<TDevTh> ReaderThread;

namespace {

// Types into the caret window and hands each card's outcome to the notice's sink, which must
// not wait for the GUI thread: that may be waiting for the reader in ReaderThread.Stop.
class TWindowsDesk final : public TTyper, public TOutcomeSink {
 public:
  explicit TWindowsDesk(const TReaderNotice& notice) : Notice_(notice) {}

  TCardOutcome Type(CardCode code) override { return TypeCardCode(code); }
  void Outcome(const TCardOutcome& outcome) override {
    if (Notice_.Sink != nullptr) Notice_.Sink->Outcome(outcome);
  }

 private:
  const TReaderNotice& Notice_;
};

}  // namespace

std::unique_ptr<TDevTh> TDevTh::Create(TReaderPort* port, TReaderNotice notice,
                                       std::uint32_t number) {
  std::unique_ptr<TDevTh> thread(new TDevTh(port, notice, number));
  if (!thread->Stop_.Valid()) {
    thread->Ended_ = true;
    return nullptr;
  }
  if (port != nullptr) port->Purge();
  thread->Thread_.Reset(
      CreateThread(nullptr, 0, &TDevTh::ThreadProc, thread.get(), CREATE_SUSPENDED, nullptr));
  if (!thread->Thread_.Valid()) {
    thread->Thread_.Release();
    thread->Ended_ = true;
    return nullptr;
  }
  return thread;
}

TDevTh::~TDevTh() {
  if (Ended_) return;
  Resume();
  Terminate();
  WaitFor();
}

void TDevTh::Resume() {
  if (!Suspended_) return;
  Suspended_ = false;
  ResumeThread(Thread_.Get());
}

void TDevTh::WaitFor() {
  if (Ended_) return;
  WaitForSingleObject(Thread_.Get(), INFINITE);
  Ended_ = true;
}

DWORD WINAPI TDevTh::ThreadProc(void* self) {
  // Nothing may unwind out of the thread; a failure ends the reader and the main window
  // hears of it, as of a lost line.
  auto* thread = static_cast<TDevTh*>(self);
  try {
    thread->Execute();
  } catch (...) {
    thread->NoticeEnd();
  }
  return 0;
}

// A post, never a send, as for the cards.
void TDevTh::NoticeEnd() const {
  if (Notice_.Window != nullptr) PostMessageW(Notice_.Window, Notice_.Message, Number_, 0);
}

// The port is read here without a lock because the GUI thread replaces Uart only after
// ReaderThread.Stop has returned, and it returns only after this loop has ended. A lost
// line ends the loop: waiting on a device that is gone would only fail again. With no port
// object there is nothing to read, and the thread sleeps until it is stopped.
void TDevTh::Execute() {
  if (Port_ == nullptr) {
    Stop_.Wait();
    return;
  }
  TWindowsDesk desk(Notice_);
  if (TReaderLoop(*Port_, Stop_, desk, desk).Run() == TReaderEnd::Lost) NoticeEnd();
}

void StartReader(const TReaderNotice& notice) { ReaderThread.Start(Uart.get(), notice); }
