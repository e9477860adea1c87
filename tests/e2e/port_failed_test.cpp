// The real program started on a port that will not open, one launch for the area: COM1 free,
// COM2 (the program's port) leading nowhere, COM3 absent. Its window and tray icon say so
// and no reader runs (how the setup lists that port is the dialog's own, on the Windows
// floor); the port comes back by itself when its device appears; and the setup moves the program to a port
// that fails and to one that works. The tests run in order on the one program.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/beside_notepad.h"
#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/notepad_card.h"
#include "tests/support/front_window.h"
#include "tests/support/notepad.h"
#include "tests/support/rig_port_control.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/setup_dialog_driver.h"
#include "tests/support/thread_facts.h"
#include "tests/support/tray_icon_look.h"
#include "tests/support/wait.h"
#include "tests/support/window_text.h"
#include "ui/main_window/resource_ids.h"
#include "ui/setup/setup_form_win.h"

namespace {

using e2e::TCard;

constexpr DWORD kLong = 15'000;
constexpr DWORD kShowReturnMs = 3000;
constexpr COLORREF kDarkGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

class PortFailedAtStart : public e2e::TBesideNotepad<PortFailedAtStart> {
 protected:
  static void SetUpTestSuite() {
    StartBesideNotepad(L"port failed", "[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=0\r\n", kLong);
  }

  // The port label with the text, drawn in the colour and not in the other state's.
  bool PortLabelShows(const wchar_t* text, COLORREF colour, COLORREF other) const {
    return Lintavo->WaitForPortLabel(text, kLong) && WaitUntil(
                                                         [&] {
                                                           const TScreenPixels pixels =
                                                               TScreenPixels::OfWindow(
                                                                   ChildWithText(Main, text));
                                                           return pixels.Shows(colour) &&
                                                                  !pixels.Shows(other);
                                                         },
                                                         kLong);
  }

  HWND OpenSetup() { return Dialog = e2e::OpenSetupDialog(*Lintavo, IDM_SETUP_READER, kLong); }
  // A dialog a failed assertion left open is closed, so that the next test finds the
  // program at rest.
  void TearDown() override {
    if (Dialog == nullptr || !IsWindow(Dialog)) return;
    PostMessageW(Dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    WaitUntil([&] { return !IsWindow(Dialog); }, kLong);
  }
  // Presses the button and waits until the dialog has gone and the front is back on the
  // main window.
  bool CloseSetup(TSetupDialogDriver& setup, int button) const {
    setup.Press(button);
    return WaitUntil([&] { return !IsWindow(setup.Dialog); }, kLong) &&
           WaitForFront(Main, kLong);
  }

  static inline int ThreadsWithoutReader = -1;
  HWND Dialog = nullptr;
};

TEST_F(PortFailedAtStart, ShowsPortNotOpenInRedWithTheRedIconAndRunsNoReader) {
  EXPECT_TRUE(PortLabelShows(L"COM2 - Порт не открыт", kRed, kDarkGreen));
  EXPECT_EQ(Lintavo->LabelTexts()[2], L"26 bit");
  EXPECT_TRUE(WaitUntil(&IconShowsFailure, kLong))
      << "green " << ShownIconColours().Green << ", red " << ShownIconColours().Red;
  ThreadsWithoutReader = ThreadCount(Lintavo->ProcessId());
  EXPECT_GT(ThreadsWithoutReader, 0);
}

// The one thread more is the reader, which the failed start did not run.
TEST_F(PortFailedAtStart, ComesBackByItselfWhenItsDeviceAppears) {
  const ULONGLONG start = GetTickCount64();
  ASSERT_EQ(rig::BringBack(2), rig::Ok("up", 2));
  ASSERT_TRUE(PortLabelShows(L"COM2 - Порт открыт", kDarkGreen, kRed));
  EXPECT_LE(GetTickCount64() - start, kShowReturnMs);
  EXPECT_TRUE(WaitUntil(&IconShowsOpen, kLong));
  EXPECT_EQ(ThreadCount(Lintavo->ProcessId()), ThreadsWithoutReader + 1);
  const TCard card{L"--card26 1234567", L"1234567"};
  EXPECT_EQ(e2e::TypedInNotepad(*Notepad, 2, card), card.Text + e2e::kSentinel.Text)
      << DescribeFront();
}

TEST_F(PortFailedAtStart, ChoosingAnAbsentPortTurnsTheLabelAndTheIconRed) {
  TSetupDialogDriver setup(OpenSetup());
  ASSERT_NE(setup.Dialog, nullptr);
  setup.ClickRow(2);
  ASSERT_EQ(setup.CheckedPorts(), std::vector<int>{3});
  ASSERT_TRUE(CloseSetup(setup, TSetupForm::kOkButtonId)) << DescribeFront();
  EXPECT_TRUE(PortLabelShows(L"COM3 - Порт не открыт", kRed, kDarkGreen));
  EXPECT_TRUE(WaitUntil(&IconShowsFailure, kLong)) << "not red again on a port that fails";
}

TEST_F(PortFailedAtStart, ChoosingAWorkingPortTurnsTheLabelAndTheIconGreenAndItTypes) {
  TSetupDialogDriver setup(OpenSetup());
  ASSERT_NE(setup.Dialog, nullptr);
  setup.ClickRow(0);
  ASSERT_EQ(setup.CheckedPorts(), std::vector<int>{1});
  ASSERT_TRUE(CloseSetup(setup, TSetupForm::kOkButtonId)) << DescribeFront();
  EXPECT_TRUE(PortLabelShows(L"COM1 - Порт открыт", kDarkGreen, kRed));
  EXPECT_TRUE(WaitUntil(&IconShowsOpen, kLong)) << "not green on the working port";
  const TCard card{L"--card26 16777215", L"16777215"};
  EXPECT_EQ(e2e::TypedInNotepad(*Notepad, 1, card), card.Text + e2e::kSentinel.Text)
      << DescribeFront();
}

// Ends the program: without the exit question it ends at once.
TEST_F(PortFailedAtStart, ExitFromTheMenuWithoutTheQuestionEndsAtOnce) {
  e2e::PostMenuCommand(Main, IDM_FILE_EXIT);
  EXPECT_EQ(Lintavo->WaitForExit(kLong), 0u);
}

}  // namespace
