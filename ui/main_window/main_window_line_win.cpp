// The main window's watch over the reader's line: its timer, the system's device notices and
// the reader's own notice feed the line watch, and the watch's answers are carried out here.
//
// The order of stopping, which everything below relies on: the reader thread reads Uart
// without a lock, so the reader is stopped and waited for (ReaderThread.Stop) before the port's
// device is let go or the port object is handed to the opener's worker, and a new reader
// starts only after the opened port came back. A lost line, and a port being opened, run no
// reader at all. The exit kills the timer before it stops the reader, so no tick starts
// another one behind it.
#include <cstdint>

#include "reader/dev_th_win.h"
#include "reader/line_watch_win.h"
#include "reader/port_opener_win.h"
#include "reader/uart.h"
#include "ui/main_window/main_status.h"
#include "ui/main_window/main_window_win.h"
#include "ui/setup/setup_form_win.h"
#include "ui/shell/queue_wait_win.h"

void TLintavoForm::StartLineWatch() {
  SetTimer(Handle(), kLineTimerId, TLineWatch::kTickMs, nullptr);
}

void TLintavoForm::StopLineWatch() { KillTimer(Handle(), kLineTimerId); }

void TLintavoForm::StartLineReader() {
  StartReader(ReaderNotice());
  ReaderThread.Resume();
}

// A tick long after the one before it, spent waiting, means the machine slept without saying
// so; the port is then opened anew, as on the system's own resume notice.
void TLintavoForm::OnLineTimer() {
  const bool setupOpen = SetupForm != nullptr;
  RecancelOpens();
  if (PortOpener_->GiveUpLate()) PortReopened(PortClosed);
  Carry(SleepWatch_.Tick(GetTickCount64(), TakeLongestQueueWait())
            ? LineWatch_.Resumed(setupOpen)
            : LineWatch_.Tick(setupOpen));
  KeepReachable();
}

void TLintavoForm::OnPowerBroadcast(WPARAM event) {
  // The line is watched from the first activation on, when its reader starts.
  if (FirstActivate) return;
  if (event != PBT_APMRESUMEAUTOMATIC && event != PBT_APMRESUMESUSPEND) return;
  if (SleepWatch_.Resumed(GetTickCount64())) Carry(LineWatch_.Resumed(SetupForm != nullptr));
}

void TLintavoForm::OnReaderEnded(WPARAM number) {
  Carry(LineWatch_.ReaderEnded(static_cast<std::uint32_t>(number), ReaderThread.RunningNumber()));
}

void TLintavoForm::OnDeviceChange(WPARAM event, LPARAM record) {
  // The line is watched from the first activation on, when its reader starts.
  if (FirstActivate) return;
  const auto notice = PortDeviceNotice(event, record);
  if (!notice || !NoticeNamesPort(notice->Name, Settings.PortNumber)) return;
  Carry(notice->Event == TDeviceEvent::Removed
            ? LineWatch_.DeviceRemoved()
            : LineWatch_.DeviceArrived(SetupForm != nullptr));
}

void TLintavoForm::Carry(TLineAction action) {
  switch (action) {
    case TLineAction::None:
      break;
    case TLineAction::Probe:
      // Asked here, not on a worker: the port is held, so the system refuses a second
      // open of it before its driver is asked, and a name that leads nowhere fails at once.
      Carry(LineWatch_.Presence(Uart ? ProbeHeldPort(Uart->PortName) : TPresence::Gone));
      break;
    case TLineAction::DropLine:
      DropLine();
      break;
    case TLineAction::Reopen:
      if (PortOpener_->StillHanging())
        LineWatch_.Reopened(false);
      else
        ReopenPort();
      break;
  }
}

void TLintavoForm::DropLine() {
  ReaderThread.Stop();
  if (Uart) Uart->Drop();
  ShowPortState(CurrentPortState());
}

void TLintavoForm::ReopenPort() {
  ReaderThread.Stop();
  LineWatch_.Reopening();
  PortOpener_->Open(std::move(Uart), Settings.PortNumber);
  if (PortStateValue != PortClosed) ShowPortState(PortClosed);
}

// The reader starts before the state shows, so that the green shows a line that is read;
// before the first activation that starts it.
void TLintavoForm::OnPortOpened(WPARAM number) {
  std::optional<std::unique_ptr<TUart>> port = PortOpener_->Take(number);
  if (!port) return;
  Uart = std::move(*port);
  const PortState state = CurrentPortState();
  if (state == PortOpen && !FirstActivate) StartLineReader();
  PortReopened(state);
}

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
