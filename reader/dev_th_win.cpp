#include "reader/dev_th_win.h"

#include "reader/card_typing_win.h"
#include "reader/frame_reader.h"
#include "reader/line_watch.h"
#include "reader/uart_win.h"

TReaderSlot<TDevTh> ReaderThread;

std::unique_ptr<TDevTh> TDevTh::Create(TReaderPort* port, TReaderNotice notice,
                                       std::uint32_t number) {
  std::unique_ptr<TDevTh> thread(new TDevTh(port, notice, number));
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

// A post, never a send: the reader must not wait for the GUI thread, which may be waiting
// for the reader in ReaderThread.Stop.
void TDevTh::NoticeEnd() const {
  if (Notice_.Window != nullptr) PostMessageW(Notice_.Window, Notice_.Message, Number_, 0);
}

void TDevTh::NoticeNotTyped(const TNotTypedCard& card) const {
  if (Notice_.Window == nullptr || Notice_.NotTyped == 0) return;
  const TNoticeWords words = PackNotTypedCard(card);
  PostMessageW(Notice_.Window, Notice_.NotTyped, words.WParam, static_cast<LPARAM>(words.LParam));
}

// The port is read here without a lock because the GUI thread replaces Uart only after
// ReaderThread.Stop has returned, and it returns only after this loop has ended. A lost
// line ends the loop: polling a device that is gone would only fail again.
void TDevTh::Execute() {
  TWatchedPort line(Port_);
  TFrameAccumulator frame;
  do {
    Sleep(kPollIntervalMs);
    CardCode code = 0;
    if (ReadFrame(&line, frame, code)) {
      if (const auto notTyped = TypeCardCode(code)) NoticeNotTyped(*notTyped);
    }
    if (line.Lost()) {
      NoticeEnd();
      return;
    }
  } while (!Terminated());
}

void StartReader(const TReaderNotice& notice) { ReaderThread.Start(Uart.get(), notice); }
