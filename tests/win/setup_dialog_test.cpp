// The setup dialog on the real platform: the test thread runs the setup flow as the main
// window would, and a driver thread finds the dialog and works it as an operator does.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "reader/dev_th_win.h"
#include "reader/uart.h"
#include "tests/support/setup_dialog_driver.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "ui/setup/setup_form_win.h"
#include "ui/shell/texts.h"

namespace {

class TRecordingHost final : public TSetupHost {
 public:
  // The port the host was asked to reopen, as the settings held it then.
  void ReopenPort() override { Reopens.push_back(Settings.PortNumber); }
  void UpdateStatus() override { ++StatusUpdates; }
  std::vector<int> Reopens;
  int StatusUpdates = 0;
};

// The real probe, counted; the probes run side by side, each on a thread of its own.
struct TProbeLog {
  std::mutex Lock;
  std::map<int, int> Calls;
  std::map<int, bool> Opened;
  TPortProbe Probe() {
    return [this](int port) {
      const bool opened = ProbePort(port);
      const std::lock_guard hold(Lock);
      ++Calls[port];
      return Opened[port] = opened;
    };
  }
};

HWND FindSetupDialog() {
  return WaitForWindow([] { return FindVisibleWindow(window_class::kSetupForm, kSetupCaption); });
}

// Runs the setup flow on this thread while `script` works the dialog from another. A script
// that stops early (a failed ASSERT) still leaves the dialog closed.
bool RunSetupDriven(int page, TSetupHost& host, const TPortProbe& probe,
                    const std::function<void(TSetupDialogDriver&)>& script) {
  TSetupDialogDriver::ParkPointer();
  std::thread driver([&] {
    const HWND dialog = FindSetupDialog();
    ASSERT_NE(dialog, nullptr) << "the setup dialog did not appear";
    TSetupDialogDriver setup(dialog);
    script(setup);
    if (!setup.Closing()) setup.CloseBox();
  });
  const bool confirmed = RunSetup(page, host, probe);
  driver.join();
  return confirmed;
}

// The program's state as the main window leaves it: the settings, the port, the reader.
class SetupFlow : public testing::Test {
 protected:
  void Start(std::uint8_t port) {
    Settings = TSettings{};
    Settings.PortNumber = port;
    OpenConfiguredPort();
    if (Uart && !Uart->Closed) {
      StartReader();
      ReaderThread.Resume();
    }
    PortBefore = Uart.get();
  }
  void TearDown() override {
    ReaderThread.Stop();
    Uart.reset();
    EXPECT_EQ(SetupForm, nullptr);
  }

  static bool ReaderRunning() {
    if (!ReaderThread || WaitForSingleObject(ReaderThread->Handle(), 0) != WAIT_TIMEOUT) return false;
    const DWORD suspendCount = SuspendThread(ReaderThread->Handle());
    ResumeThread(ReaderThread->Handle());
    return suspendCount == 0;
  }

  TRecordingHost Host;
  TProbeLog Probes;
  TUart* PortBefore = nullptr;
};

using SetupDialog = SetupFlow;
using SetupFailedPort = SetupFlow;

TEST_F(SetupDialog, ListsEveryPortAndProbesAllButTheCurrentOne) {
  Start(2);
  ASSERT_TRUE(ReaderRunning());
  std::vector<std::wstring> texts;
  std::vector<bool> checked, enabled;
  bool readerRanWhileOpen = false;
  const bool confirmed = RunSetupDriven(2, Host, Probes.Probe(), [&](TSetupDialogDriver& setup) {
    readerRanWhileOpen = ReaderRunning();
    ASSERT_EQ(setup.RowCount(), kListedPortCount);
    for (int row = 0; row < kListedPortCount; ++row) {
      texts.push_back(setup.RowText(row));
      checked.push_back(setup.RowChecked(row));
      enabled.push_back(setup.RowEnabled(row));
    }
    setup.Press(TSetupForm::kCancelButtonId);
  });

  EXPECT_FALSE(confirmed);
  EXPECT_TRUE(readerRanWhileOpen);
  ASSERT_EQ(texts.size(), 100u);
  EXPECT_EQ(texts[0], L"COM 1");
  EXPECT_TRUE(enabled[0]);
  EXPECT_FALSE(checked[0]);
  EXPECT_EQ(texts[1], L"COM 2 - занят сервером, норма");
  EXPECT_TRUE(enabled[1]);
  EXPECT_TRUE(checked[1]);
  EXPECT_EQ(texts[2], L"COM 3 - порт занят или отсутствует");
  EXPECT_FALSE(enabled[2]);
  EXPECT_FALSE(checked[2]);
  // The rest are whatever this machine has; each row must say what its probe found.
  for (int port = 4; port <= 100; ++port) {
    const bool opened = Probes.Opened[port];
    EXPECT_EQ(texts[port - 1], opened ? L"COM " + std::to_wstring(port)
                                      : L"COM " + std::to_wstring(port) +
                                            L" - порт занят или отсутствует");
    EXPECT_EQ(enabled[port - 1], opened);
    EXPECT_FALSE(checked[port - 1]);
  }

  EXPECT_EQ(Probes.Calls.size(), 99u);
  EXPECT_EQ(Probes.Calls.count(2), 0u) << "the reader's own port was probed";
  for (const auto& [port, count] : Probes.Calls) EXPECT_EQ(count, 1) << "COM" << port;
}

TEST_F(SetupDialog, ConfirmingStoresAllFiveAndAsksForTheChosenPort) {
  Start(2);
  std::vector<int> checkedAfterClick;
  const bool confirmed = RunSetupDriven(2, Host, Probes.Probe(), [&](TSetupDialogDriver& setup) {
    setup.ToggleCheckBox(TSetupForm::kMinimizeId);
    setup.ToggleCheckBox(TSetupForm::kQuestionId);
    setup.ToggleCheckBox(TSetupForm::kOneCopyId);
    setup.ChooseReaderType(1);
    setup.ClickRow(0);
    checkedAfterClick = setup.CheckedPorts();
    setup.Press(TSetupForm::kOkButtonId);
  });

  ASSERT_TRUE(confirmed);
  EXPECT_EQ(checkedAfterClick, std::vector<int>{1});
  EXPECT_FALSE(Settings.MinimizeOnRun);
  EXPECT_FALSE(Settings.CheckExit);
  EXPECT_FALSE(Settings.RunOnlyOneCopy);
  EXPECT_EQ(Settings.ReaderType, 1);
  EXPECT_EQ(Settings.PortNumber, 1);
  EXPECT_EQ(Host.Reopens, std::vector<int>{1});
  EXPECT_EQ(Host.StatusUpdates, 1);
}

TEST_F(SetupDialog, ConfirmingTheSamePortReopensIt) {
  Start(2);
  const bool confirmed = RunSetupDriven(2, Host, Probes.Probe(), [](TSetupDialogDriver& setup) {
    setup.ChooseReaderType(1);
    setup.Press(TSetupForm::kOkButtonId);
  });

  ASSERT_TRUE(confirmed);
  EXPECT_EQ(ReaderTypeNow(), 1);
  EXPECT_EQ(Settings.PortNumber, 2);
  EXPECT_EQ(Host.Reopens, std::vector<int>{2});
  EXPECT_EQ(Host.StatusUpdates, 1);
}

TEST_F(SetupDialog, ChoosingAGreyedPortStoresItAndAsksForIt) {
  Start(2);
  bool greyedChecked = false;
  const bool confirmed = RunSetupDriven(2, Host, Probes.Probe(), [&](TSetupDialogDriver& setup) {
    setup.ClickRow(2);
    greyedChecked = setup.CheckedPorts() == std::vector<int>{3};
    setup.Press(TSetupForm::kOkButtonId);
  });

  ASSERT_TRUE(confirmed);
  EXPECT_TRUE(greyedChecked);
  EXPECT_EQ(Settings.PortNumber, 3);
  EXPECT_EQ(Host.Reopens, std::vector<int>{3});
}

TEST_F(SetupDialog, SpaceOnTheCheckedRowStoresNoPort) {
  Start(2);
  std::vector<int> checkedAfterSpace{-1};
  const bool confirmed = RunSetupDriven(2, Host, Probes.Probe(), [&](TSetupDialogDriver& setup) {
    setup.ClickRow(1);
    setup.Key(L' ');
    checkedAfterSpace = setup.CheckedPorts();
    setup.Press(TSetupForm::kOkButtonId);
  });

  ASSERT_TRUE(confirmed);
  EXPECT_TRUE(checkedAfterSpace.empty());
  EXPECT_EQ(Settings.PortNumber, 0);
  EXPECT_EQ(Host.Reopens, std::vector<int>{0});
}

TEST_F(SetupDialog, PlusChecksTheEnabledRowsAndTheLowestIsStored) {
  Start(2);
  bool greyedLeftAlone = false, currentKept = false, checkColumnClickEndsSingle = false;
  const bool confirmed = RunSetupDriven(2, Host, Probes.Probe(), [&](TSetupDialogDriver& setup) {
    setup.ClickRow(0, true);
    checkColumnClickEndsSingle = setup.CheckedPorts() == std::vector<int>{1};
    setup.Key(L'+');
    greyedLeftAlone = !setup.RowChecked(2);
    currentKept = setup.RowChecked(0) && setup.RowChecked(1);
    setup.Press(TSetupForm::kOkButtonId);
  });

  ASSERT_TRUE(confirmed);
  EXPECT_TRUE(checkColumnClickEndsSingle);
  EXPECT_TRUE(greyedLeftAlone);
  EXPECT_TRUE(currentKept);
  EXPECT_EQ(Settings.PortNumber, 1);
}

TEST_F(SetupDialog, PortOutsideTheListShowsNoneCheckedAndStoresZero) {
  Start(255);
  std::vector<int> checked{-1};
  const bool confirmed = RunSetupDriven(2, Host, Probes.Probe(), [&](TSetupDialogDriver& setup) {
    checked = setup.CheckedPorts();
    setup.Press(TSetupForm::kOkButtonId);
  });

  ASSERT_TRUE(confirmed);
  EXPECT_TRUE(checked.empty());
  EXPECT_EQ(Probes.Calls.size(), 100u);
  EXPECT_EQ(Settings.PortNumber, 0);
  EXPECT_EQ(Host.Reopens, std::vector<int>{0});
}

TEST_F(SetupDialog, HelpLeavesTheDialogOpen) {
  Start(2);
  bool stillOpen = false;
  RunSetupDriven(1, Host, Probes.Probe(), [&](TSetupDialogDriver& setup) {
    PostMessageW(setup.Control(TSetupForm::kHelpButtonId), BM_CLICK, 0, 0);
    // Without a help library the bridge says so in a box of its own.
    const HWND box = WaitForWindow([&] {
      const HWND found = FindVisibleWindow(window_class::kDialog, kHelpCaption);
      return found != setup.Dialog ? found : nullptr;
    });
    ASSERT_NE(box, nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitForWindow([&] { return IsWindow(box) ? nullptr : setup.Dialog; });
    stillOpen = IsWindowVisible(setup.Dialog) != FALSE;
  });
  EXPECT_TRUE(stillOpen);
}

struct CancelCase {
  const char* name;
  void (*close)(TSetupDialogDriver&);
};

class SetupCancel : public SetupFlow, public testing::WithParamInterface<CancelCase> {};

TEST_P(SetupCancel, StoresNothingAndTouchesNeitherPortNorReader) {
  Start(2);
  const TSettings before = Settings;
  const bool confirmed = RunSetupDriven(2, Host, Probes.Probe(), [](TSetupDialogDriver& setup) {
    setup.ToggleCheckBox(TSetupForm::kMinimizeId);
    setup.ChooseReaderType(1);
    setup.ClickRow(0);
    GetParam().close(setup);
  });

  EXPECT_FALSE(confirmed);
  EXPECT_EQ(Settings.MinimizeOnRun, before.MinimizeOnRun);
  EXPECT_EQ(Settings.ReaderType, before.ReaderType);
  EXPECT_EQ(Settings.PortNumber, before.PortNumber);
  EXPECT_TRUE(Host.Reopens.empty());
  EXPECT_EQ(Host.StatusUpdates, 0);
  EXPECT_EQ(Uart.get(), PortBefore);
  EXPECT_TRUE(ReaderRunning());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, SetupCancel,
    testing::Values(
        CancelCase{"CancelButton", [](TSetupDialogDriver& s) { s.Press(TSetupForm::kCancelButtonId); }},
        CancelCase{"Escape", [](TSetupDialogDriver& s) { s.Escape(); }},
        CancelCase{"CloseBox", [](TSetupDialogDriver& s) { s.CloseBox(); }}),
    [](const auto& info) { return std::string(info.param.name); });

struct PageCase {
  const char* name;
  int page;
  bool readerPage;
};

class SetupPage : public SetupFlow, public testing::WithParamInterface<PageCase> {};

TEST_P(SetupPage, OpensOnTheAskedPage) {
  Start(2);
  bool listShown = false, checkBoxShown = false;
  RECT client{};
  RunSetupDriven(GetParam().page, Host, Probes.Probe(), [&](TSetupDialogDriver& setup) {
    listShown = IsWindowVisible(setup.List()) != FALSE;
    checkBoxShown = IsWindowVisible(setup.Control(TSetupForm::kMinimizeId)) != FALSE;
    GetClientRect(setup.Dialog, &client);
    setup.Press(TSetupForm::kCancelButtonId);
  });
  EXPECT_EQ(listShown, GetParam().readerPage);
  EXPECT_EQ(checkBoxShown, !GetParam().readerPage);
  EXPECT_EQ(client.right, TSetupForm::kClientWidth);
  EXPECT_EQ(client.bottom, TSetupForm::kClientHeight);
}

INSTANTIATE_TEST_SUITE_P(Pages, SetupPage,
                         testing::Values(PageCase{"ViewIsPageOne", 1, false},
                                         PageCase{"ReaderIsPageTwo", 2, true},
                                         PageCase{"AnythingElseIsTheViewPage", 7, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SetupFailedPort, ShowsTheFailedPortCheckedButGreyedAndAWorkingChoiceOpens) {
  Start(2);
  ASSERT_TRUE(Uart && Uart->Closed);
  std::wstring text;
  bool checked = false, enabled = true;
  const bool confirmed = RunSetupDriven(2, Host, Probes.Probe(), [&](TSetupDialogDriver& setup) {
    text = setup.RowText(1);
    checked = setup.RowChecked(1);
    enabled = setup.RowEnabled(1);
    setup.ClickRow(0);
    setup.Press(TSetupForm::kOkButtonId);
  });

  ASSERT_TRUE(confirmed);
  EXPECT_EQ(text, L"COM 2 - занят сервером, ошибка");
  EXPECT_TRUE(checked);
  EXPECT_FALSE(enabled);
  EXPECT_EQ(Settings.PortNumber, 1);
  EXPECT_EQ(Host.Reopens, std::vector<int>{1});
}

TEST_F(SetupFailedPort, ConfirmingTheSameFailedPortTriesItAgain) {
  Start(2);
  const bool confirmed = RunSetupDriven(2, Host, Probes.Probe(), [](TSetupDialogDriver& setup) {
    setup.Press(TSetupForm::kOkButtonId);
  });
  ASSERT_TRUE(confirmed);
  EXPECT_EQ(Settings.PortNumber, 2);
  EXPECT_EQ(Host.Reopens, std::vector<int>{2});
}

}  // namespace
