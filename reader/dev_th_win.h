// The reader thread: runs the reader loop on the port, typing into the caret window and
// handing what became of each card to the sink it was given.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "core/common.h"
#include "core/unique_handle_win.h"
#include "reader/card_delivery.h"
#include "reader/reader_loop.h"
#include "reader/reader_port.h"
#include "reader/reader_slot.h"
#include "reader/stop_signal_win.h"

// Where a reader tells the window of what the operator must hear of: that it ended on its
// own (Message, the reader's number as wParam); and what hears of every card on the reader
// thread (Sink, when given), which tells the window in its own way. A reader touches no window
// of this program otherwise.
struct TReaderNotice {
  HWND Window = nullptr;
  UINT Message = 0;
  TOutcomeSink* Sink = nullptr;
};

class TDevTh {
 public:
  // A thread created suspended that reads `port`, or none when the platform refused one.
  // What the port held before is dropped now, so anything that arrives once this returns
  // is read. `number` tells its notice apart from those of readers before it.
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
  HANDLE Handle() const { return Thread_.Get(); }
  std::uint32_t Number() const { return Number_; }

 private:
  TDevTh(TReaderPort* port, TReaderNotice notice, std::uint32_t number)
      : Port_(port), Notice_(notice), Number_(number) {}
  static DWORD WINAPI ThreadProc(void* self);
  void Execute();
  void NoticeEnd() const;

  TReaderPort* const Port_;
  const TReaderNotice Notice_;
  const std::uint32_t Number_;
  TUniqueHandle Thread_;
  TStopSignal Stop_;
  std::atomic<bool> Terminated_{false};
  bool Suspended_ = true;
  bool Ended_ = false;
};

// The one reader thread, or none.
extern TReaderSlot<TDevTh> ReaderThread;

// Stops any running reader and leaves a new one on Uart suspended in ReaderThread; it posts to
// `notice` when its line is lost or it fails.
void StartReader(const TReaderNotice& notice = {});
