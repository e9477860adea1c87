// The main window's watch over the reader's line: its timer and the reader's own notice feed
// the line watch, and the watch's answers are carried out here.
//
// The order of stopping, which everything below relies on: the reader thread reads Uart
// without a lock, so the reader is stopped and waited for (ReaderThread.Stop) before the port's
// device is let go or the port object is replaced (OpenConfiguredPort), and a new reader
// starts only after the port opened. A lost line therefore runs no reader at all, which is
// also what lets a reopen replace Uart at any tick. The exit stops the timer before it stops
// the reader, so no tick starts another one behind it.
#include "qt/main_form_qt.h"
#include "reader/line_watch_linux.h"
#include "reader/uart.h"
#include "ui/main_window/main_status.h"

void TLintavoForm::StartLineWatch() { LineTimer_.start(static_cast<int>(TLineWatch::kTickMs)); }

void TLintavoForm::StopLineWatch() { LineTimer_.stop(); }

void TLintavoForm::StartLineReader() {
  StartReader(ReaderNotice());
  ReaderThread.Resume();
}

void TLintavoForm::OnLineTimer() {
  KeepReachable();
  Carry(LineWatch_.Tick(SetupForm != nullptr));
}

void TLintavoForm::OnReaderEnded(std::uint32_t number) {
  Carry(LineWatch_.ReaderEnded(number, ReaderThread.RunningNumber()));
}

void TLintavoForm::Carry(TLineAction action) {
  switch (action) {
    case TLineAction::None:
      break;
    case TLineAction::Probe:
      Carry(LineWatch_.Presence(Uart ? ProbeHeldPort(Uart->PortName) : TPresence::Gone));
      break;
    case TLineAction::DropLine:
      DropLine();
      break;
    case TLineAction::Reopen:
      ReopenLine();
      break;
  }
}

void TLintavoForm::DropLine() {
  ReaderThread.Stop();
  if (Uart) Uart->Drop();
  ShowPortState(CurrentPortState());
}

// The reader starts before the state shows, so that the green shows a line that is read.
void TLintavoForm::ReopenLine() { PortReopened(ReopenPortWithReader(ReaderNotice())); }

void TLintavoForm::PortReopened(PortState state) {
  LineWatch_.Reopened(state == PortOpen);
  // A retry that failed again changes nothing on screen.
  if (state != PortStateValue) ShowPortState(state);
}

void TLintavoForm::ShowPortState(PortState state) {
  PortStateValue = state;
  PortFailed = PortFailedOf(state);
  UpdateTrayIcon();
  UpdateStatus();
}
