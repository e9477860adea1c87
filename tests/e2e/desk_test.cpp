// The real program on what a Windows desk does to it, as far as Wine can show it, in one
// launch: a card with nowhere to go told in a balloon, a wake from sleep that leaves the old
// handle reading nothing, and the end of the session while the exit question is open. A
// second start is the copies' own (Copies, in the main window's tests).
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "journal/journal_texts.h"
#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/support/cardsim.h"
#include "tests/support/front_window.h"
#include "tests/support/notepad.h"
#include "tests/support/rig_port_control.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/typing_target_window.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/main_window/resource_ids.h"
#include "ui/shell/texts.h"

namespace {

constexpr DWORD kLong = 20'000;
constexpr wchar_t kTooltipClass[] = L"tooltips_class32";

// What the balloons of the notification area say: the shell shows each as a tooltip window
// of its own, whose text a message gives across processes.
std::vector<std::wstring> BalloonTexts() {
  std::vector<std::wstring> texts;
  for (HWND tooltip : VisibleTopLevels(kTooltipClass)) texts.push_back(ControlText(tooltip));
  return texts;
}

bool BalloonShows(const std::wstring& text) {
  for (const std::wstring& shown : BalloonTexts())
    if (shown == text) return true;
  return false;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* answered) {
  DWORD_PTR result = 0;
  *answered = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kLong,
                                  &result) != 0;
  return static_cast<LRESULT>(result);
}

class Desk : public testing::Test {
 public:
  // Minimised to the notification area at start, asking before it ends.
  static void SetUpTestSuite() {
    Notepad = std::make_unique<TNotepad>();
    Lintavo = std::make_unique<e2e::TLintavoInstance>(L"desk");
    Lintavo->WriteIni("[SETTINGS]\r\nMinimizeOnRun=1\r\nCheckExit=1\r\nReaderType=1\r\n");
    if (!Lintavo->Start()) return;
    Main = Lintavo->MainWindow(kLong);
    Ready = Main != nullptr && Lintavo->WaitForStartUp(kLong) &&
            Lintavo->WaitForPortLabel(L"COM2 - Порт открыт", 0);
  }
  static void TearDownTestSuite() {
    Lintavo.reset();
    Notepad.reset();
  }

 protected:
  void SetUp() override {
    ASSERT_NE(Notepad->Edit(), nullptr) << "notepad did not come up";
    ASSERT_TRUE(Ready) << "the program did not start minimised with COM2 open and its reader";
    ASSERT_TRUE(Lintavo->Running()) << "the program ended before this check";
  }

  static inline std::unique_ptr<TNotepad> Notepad;
  static inline std::unique_ptr<e2e::TLintavoInstance> Lintavo;
  static inline HWND Main = nullptr;
  static inline bool Ready = false;
};

TEST_F(Desk, ACardWithNowhereToGoIsToldInABalloonWithItsNumberAndWhy) {
  TTypingTargetWindow target(TTypingTargetWindow::TCaret::None);
  ASSERT_TRUE(target.Ready()) << "the window without a caret did not take the front: "
                              << DescribeFront();
  ASSERT_EQ(RunCardsim(L"--port COM202 --card40 305419896"), 0u);
  const std::wstring expected = std::wstring(kNotTypedNumber) + L"305419896\n" + kNotTypedNoCaret;
  const bool shown = WaitUntil([&] { return BalloonShows(expected); }, kLong);
  target.Pump();
  EXPECT_TRUE(shown) << "no balloon with the number; " << DescribeFront()
                     << "; balloons shown: " << BalloonTexts().size();
  EXPECT_EQ(target.Characters(), L"") << "the window without a caret was typed into";
}

TEST_F(Desk, AWakeOpensThePortAnewAndTheNextCardIsTyped) {
  // From now on the handle the program holds reads nothing, and only a fresh open of COM2
  // reaches the line the card comes on.
  ASSERT_EQ(rig::Request("stale 2"), "stale 2 ok");
  bool answered = false;
  EXPECT_EQ(Send(Main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, &answered), TRUE);
  ASSERT_TRUE(answered) << "the main window did not take the resume notice";
  EXPECT_TRUE(Lintavo->WaitForPortLabel(L"COM2 - Порт открыт", kLong));

  Notepad->Clear();
  ASSERT_TRUE(Notepad->Focus()) << "notepad did not take the front: " << DescribeFront();
  ASSERT_EQ(RunCardsim(L"--port COM202 --card40 1099511627775"), 0u);
  WaitUntil([&] { return Notepad->Text().size() >= 13; }, kLong);
  EXPECT_EQ(Notepad->Text(), L"1099511627775") << DescribeFront();
}

// The installer closes a running copy as the operator would; with the exit question open,
// that question answers the close. Windows then ends the session under the open question.
TEST_F(Desk, AnOpenQuestionAnswersACloseAndTheSessionEndsWithoutWaitingForIt) {
  ASSERT_EQ(Lintavo->ReadIni().find("[Place]"), std::string::npos)
      << "the placement was written before the session ended";
  e2e::PostMenuCommand(Main, IDM_FILE_EXIT);
  const HWND question = Lintavo->WaitForTopLevel(window_class::kMessageForm, kCaptionExit, kLong);
  ASSERT_NE(question, nullptr) << "the exit question did not open";

  bool answered = false;
  // Sent, so that it has been handled when this returns; a second question would hold it.
  Send(Main, WM_CLOSE, 0, 0, &answered);
  ASSERT_TRUE(answered) << "a close while the question is open opened another question";
  EXPECT_EQ(VisibleTopLevels(window_class::kMessageForm), std::vector<HWND>{question});
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == question; }, kLong))
      << DescribeFront();

  EXPECT_EQ(Send(Main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, &answered), TRUE);
  ASSERT_TRUE(answered);
  Send(Main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, &answered);
  ASSERT_TRUE(answered) << "the main window did not take the end of the session";
  EXPECT_EQ(Lintavo->WaitForExit(kLong), 0u) << "the program did not end with the session";
  const std::string ini = Lintavo->ReadIni();
  EXPECT_NE(ini.find("[Place]"), std::string::npos) << ini;
  EXPECT_NE(ini.find("FormVersion="), std::string::npos) << ini;
}

}  // namespace
