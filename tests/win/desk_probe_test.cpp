// The setup dialog's port probes against their deadline on the real platform: ports whose
// open hangs (stand-ins that block until their I/O is cancelled, as a Bluetooth port waiting
// to connect does) must not hold the dialog up, show as busy or absent, and end before the
// program does; a free port is still found and left closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <iostream>
#include <set>
#include <string>
#include <thread>

#include "reader/dev_th_win.h"
#include "reader/uart.h"
#include "tests/support/setup_dialog_driver.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "reader/port_opener_win.h"
#include "ui/setup/port_probe_win.h"
#include "ui/setup/setup_form_win.h"
#include "ui/shell/texts.h"

namespace {

constexpr DWORD kDialogUpWithinMs = 1000;
constexpr int kHangingPorts[] = {5, 6};
constexpr int kLatePort = 7;  // opens, but only after the dialog is up

class TQuietHost final : public TSetupHost {
 public:
  void ReopenPort() override {}
  void UpdateStatus() override {}
};

// Stand-ins for the open of ports 5 to 7, the real probe for every other port.
class TSlowPorts {
 public:
  TSlowPorts() : LateGate_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  TPortProbe Probe() {
    return [this](int port) {
      ++Running;
      const bool opened = Open(port);
      --Running;
      return opened;
    };
  }
  void LetTheLateOneOpen() { SetEvent(LateGate_.Get()); }

  std::atomic<int> Running{0};
  std::atomic<int> Cancelled{0};
  std::atomic<bool> LateOpened{false};

 private:
  bool Open(int port) {
    if (port == kLatePort) {
      WaitForSingleObject(LateGate_.Get(), INFINITE);
      LateOpened = true;
      return true;
    }
    if (std::set<int>(std::begin(kHangingPorts), std::end(kHangingPorts)).count(port) == 0)
      return ProbePort(port);
    // A read of a pipe nobody writes to returns only when it is cancelled.
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, nullptr, 0)) return false;
    const TUniqueHandle readEnd(read), writeEnd(write);
    char byte = 0;
    DWORD got = 0;
    if (!ReadFile(read, &byte, 1, &got, nullptr) && GetLastError() == ERROR_OPERATION_ABORTED)
      ++Cancelled;
    return true;
  }

  TUniqueHandle LateGate_;
};

TEST(SetupProbeDeadline, HangingOpensDoNotHoldTheDialogAndEndBeforeTheProgram) {
  Settings = TSettings{};
  Settings.PortNumber = 2;
  OpenConfiguredPort();
  ASSERT_TRUE(Uart && !Uart->Closed) << "COM2 did not open";
  TSlowPorts ports;
  TQuietHost host;

  ULONGLONG upAfterMs = 0;
  std::wstring free, absent, late;
  std::wstring hanging[2];
  bool hangingEnabled = true, lateEnabled = true;
  const ULONGLONG asked = GetTickCount64();
  std::thread operatorThread([&] {
    const HWND dialog = WaitForWindow(
        [] { return FindVisibleWindow(window_class::kSetupForm, kSetupCaption); }, 10'000);
    upAfterMs = GetTickCount64() - asked;
    ASSERT_NE(dialog, nullptr) << "the setup dialog did not appear";
    TSetupDialogDriver setup(dialog);
    ports.LetTheLateOneOpen();
    free = setup.RowText(0);
    absent = setup.RowText(2);
    hanging[0] = setup.RowText(kHangingPorts[0] - 1);
    hanging[1] = setup.RowText(kHangingPorts[1] - 1);
    hangingEnabled =
        setup.RowEnabled(kHangingPorts[0] - 1) || setup.RowEnabled(kHangingPorts[1] - 1);
    // The late open answers while the dialog is up; the list stays as it was shown.
    WaitUntil([&] { return ports.LateOpened.load(); }, 5000);
    late = setup.RowText(kLatePort - 1);
    lateEnabled = setup.RowEnabled(kLatePort - 1);
    setup.Press(TSetupForm::kCancelButtonId);
  });
  const bool confirmed = RunSetup(2, host, ports.Probe());
  operatorThread.join();

  EXPECT_FALSE(confirmed);
  EXPECT_LE(upAfterMs, kDialogUpWithinMs) << "the dialog took " << upAfterMs << " ms";
  std::cout << "the dialog was up " << upAfterMs << " ms after it was asked for\n";
  EXPECT_EQ(free, L"COM 1");
  EXPECT_EQ(absent, L"COM 3 - порт занят или отсутствует");
  EXPECT_EQ(hanging[0], L"COM 5 - порт занят или отсутствует");
  EXPECT_EQ(hanging[1], L"COM 6 - порт занят или отсутствует");
  EXPECT_FALSE(hangingEnabled);
  EXPECT_TRUE(ports.LateOpened) << "the late open never answered";
  EXPECT_EQ(late, L"COM 7 - порт занят или отсутствует");
  EXPECT_FALSE(lateEnabled);

  EndPortOpens();
  EXPECT_EQ(ports.Running, 0) << "a probe is still running after the program let them end";
  EXPECT_EQ(ports.Cancelled, 2) << "each hanging open ends by being cancelled";
  EXPECT_TRUE(ProbePort(1)) << "a probe left COM1 open";

  ReaderThread.Stop();
  Uart.reset();
}

}  // namespace
