#include "reader/dev_th_win.h"

#include "reader/card_typing_win.h"
#include "reader/frame_reader.h"
#include "reader/uart_win.h"

std::unique_ptr<TDevTh> ReaderThread;

std::unique_ptr<TDevTh> TDevTh::Create() {
  std::unique_ptr<TDevTh> thread(new TDevTh);
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
  // Nothing may unwind out of the thread; a failure ends the reader quietly.
  try {
    static_cast<TDevTh*>(self)->Execute();
  } catch (...) {
  }
  return 0;
}

// Uart is read here without a lock because the GUI thread replaces it only after StopReader
// has returned, and StopReader returns only after this loop has ended.
void TDevTh::Execute() {
  PurgePort(Uart.get());
  TFrameAccumulator frame;
  do {
    Sleep(kPollIntervalMs);
    CardCode code = 0;
    if (ReadFrame(Uart.get(), frame, code)) TypeCardCode(code);
  } while (!Terminated());
}

void StartReader() {
  StopReader();
  ReaderThread = TDevTh::Create();
}

void ResumeReader() {
  if (ReaderThread) ReaderThread->Resume();
}

// The stop order matters: a suspended thread must be resumed or it never sees the request;
// the request is set before the wait so the loop ends after at most one sleep and one read;
// the object is freed only after the wait; and only then may the caller replace Uart.
void StopReader() {
  if (!ReaderThread) return;
  ReaderThread->Resume();
  ReaderThread->Terminate();
  ReaderThread->WaitFor();
  ReaderThread.reset();
}
