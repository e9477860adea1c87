// The reader's line going away and coming back under the real program, one launch for the
// area: the rig ends the pseudo-terminal pair behind COM2 (an adapter pulled out) and starts
// a new one on the same links (plugged in again), while this process watches the window,
// the tray icon and the cards typed into notepad. Unannounced, as under Wine, the program
// finds the loss and the return itself; announced, as Windows announces an adapter, it acts
// at once. The tests run in order on the one program.
// That no reopen comes while the setup is open is the line watch's own (its unit tests).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "tests/e2e/beside_notepad.h"
#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/notepad_card.h"
#include "tests/support/device_notice.h"
#include "tests/support/front_window.h"
#include "tests/support/notepad.h"
#include "tests/support/process_resources.h"
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
using e2e::TLintavoInstance;

constexpr int kPort = 2;
constexpr wchar_t kPortOpen[] = L"COM2 - Порт открыт";
constexpr wchar_t kPortNotOpen[] = L"COM2 - Порт не открыт";
constexpr COLORREF kDarkGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
// How soon the program must show a loss, and a return.
constexpr DWORD kShowLossMs = 1000;
constexpr DWORD kShowReturnMs = 3000;
constexpr DWORD kLong = 15'000;
constexpr int kCycles = 20;

bool ShowsLost(const TLintavoInstance& lintavo) {
  const auto texts = lintavo.LabelTexts();
  return texts.size() == 4 && texts[3] == kPortNotOpen && IconShowsFailure();
}

bool ShowsOpen(const TLintavoInstance& lintavo) {
  const auto texts = lintavo.LabelTexts();
  return texts.size() == 4 && texts[3] == kPortOpen && IconShowsOpen();
}

// Milliseconds until the condition held, or none when it did not within the limit.
template <typename Condition>
std::optional<ULONGLONG> MsUntil(Condition condition, DWORD limitMs, ULONGLONG since) {
  if (!WaitUntil(condition, limitMs)) return std::nullopt;
  return GetTickCount64() - since;
}

// The port label drawn in the colour.
bool PortLabelDrawnIn(HWND main, const wchar_t* text, COLORREF colour) {
  const HWND label = ChildWithText(main, text);
  return label != nullptr &&
         WaitUntil([&] { return TScreenPixels::OfWindow(label).Shows(colour); }, 5000);
}

// A 40/42-bit card as the program types it, with the settings it starts with.
TCard Card40(unsigned long long number) {
  return {L"--card40 " + std::to_wstring(number), std::to_wstring(number)};
}

// The program on COM2 with its window in view, and notepad to type into.
class LineLoss : public e2e::TBesideNotepad<LineLoss> {
 protected:
  static void SetUpTestSuite() {
    StartBesideNotepad(L"line loss",
                       "[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=0\r\nReaderType=1\r\n", kLong);
  }
  void SetUp() override {
    TBesideNotepad::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitUntil([&] { return ShowsOpen(*Lintavo); }, kLong)) << "the line is not open";
  }

  static std::wstring Typed(const TCard& card) {
    return e2e::TypedInNotepad(*Notepad, kPort, card);
  }

  // Takes the port away; the time the program took to show it, or none.
  static std::optional<ULONGLONG> TakeAwayAndTimeTheLoss() {
    const ULONGLONG start = GetTickCount64();
    if (rig::TakeAway(kPort) != rig::Ok("down", kPort)) return std::nullopt;
    return MsUntil([&] { return ShowsLost(*Lintavo); }, kLong, start);
  }

  static std::optional<ULONGLONG> BringBackAndTimeTheReturn() {
    const ULONGLONG start = GetTickCount64();
    if (rig::BringBack(kPort) != rig::Ok("up", kPort)) return std::nullopt;
    return MsUntil([&] { return ShowsOpen(*Lintavo); }, kLong, start);
  }

  // The same with the system's notice, as Windows gives it for an adapter pulled out and
  // plugged in: the program acts on it at once.
  static std::optional<ULONGLONG> TakeAwayAnnouncedAndTimeTheLoss() {
    const ULONGLONG start = GetTickCount64();
    if (rig::TakeAway(kPort) != rig::Ok("down", kPort) ||
        !AnnouncePort(Lintavo->MainWindow(0), TPortEvent::Removed, L"COM2"))
      return std::nullopt;
    return MsUntil([&] { return ShowsLost(*Lintavo); }, kLong, start);
  }

  static std::optional<ULONGLONG> BringBackAnnouncedAndTimeTheReturn() {
    const ULONGLONG start = GetTickCount64();
    if (rig::BringBack(kPort) != rig::Ok("up", kPort) ||
        !AnnouncePort(Lintavo->MainWindow(0), TPortEvent::Arrived, L"COM2"))
      return std::nullopt;
    return MsUntil([&] { return ShowsOpen(*Lintavo); }, kLong, start);
  }

};

TEST_F(LineLoss, ShownRedWithinASecondGreenAgainWithinThreeAndTheNextCardIsExact) {
  const TCard first = Card40(1099511627775);
  EXPECT_EQ(Typed(first), first.Text + e2e::kSentinel.Text) << DescribeFront();

  const auto lossMs = TakeAwayAndTimeTheLoss();
  ASSERT_TRUE(lossMs) << "the loss was not shown";
  EXPECT_LE(*lossMs, kShowLossMs);
  EXPECT_TRUE(PortLabelDrawnIn(Main, kPortNotOpen, kRed));

  const auto returnMs = BringBackAndTimeTheReturn();
  ASSERT_TRUE(returnMs) << "the return was not shown";
  EXPECT_LE(*returnMs, kShowReturnMs);
  EXPECT_TRUE(PortLabelDrawnIn(Main, kPortOpen, kDarkGreen));
  const TCard next = Card40(305419896);
  EXPECT_EQ(Typed(next), next.Text + e2e::kSentinel.Text) << DescribeFront();
}

TEST_F(LineLoss, ConfirmingSetupWithTheLostPortReopensIt) {
  ASSERT_TRUE(TakeAwayAndTimeTheLoss()) << "the loss was not shown";
  TSetupDialogDriver setup(e2e::OpenSetupDialog(*Lintavo, IDM_SETUP_VIEW, kLong));
  ASSERT_NE(setup.Dialog, nullptr) << DescribeFront();
  ASSERT_EQ(rig::BringBack(kPort), rig::Ok("up", kPort));

  const ULONGLONG confirmed = GetTickCount64();
  setup.Press(TSetupForm::kOkButtonId);
  // Well inside the 2 s the first retry after the dialog would take.
  const auto reopenMs = MsUntil([&] { return ShowsOpen(*Lintavo); }, kLong, confirmed);
  ASSERT_TRUE(reopenMs);
  EXPECT_LE(*reopenMs, 1000u);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(setup.Dialog); }, kLong));
  ASSERT_TRUE(WaitForFront(Main, kLong)) << DescribeFront();
  const TCard card = Card40(16777216);
  EXPECT_EQ(Typed(card), card.Text + e2e::kSentinel.Text) << DescribeFront();
}

// The adapter pulled out and plugged in twenty times, each announced by the system. The
// first return makes the GDI objects every later one reuses; they are counted from there on.
TEST_F(LineLoss, TwentyReturnsLeakNothingAndLoseNoCard) {
  const DWORD id = Lintavo->ProcessId();
  const int handles = KernelHandleCount(id);
  const int windows = WindowCount(id);
  const int threads = ThreadCount(id);
  ASSERT_GT(handles, 0);

  int gdi = -1;
  ULONGLONG slowestLoss = 0, slowestReturn = 0;
  for (int cycle = 1; cycle <= kCycles; ++cycle) {
    const auto lossMs = TakeAwayAnnouncedAndTimeTheLoss();
    ASSERT_TRUE(lossMs) << "cycle " << cycle << ": the loss was not shown";
    const auto returnMs = BringBackAnnouncedAndTimeTheReturn();
    ASSERT_TRUE(returnMs) << "cycle " << cycle << ": the return was not shown";
    slowestLoss = std::max(slowestLoss, *lossMs);
    slowestReturn = std::max(slowestReturn, *returnMs);
    const TCard card = Card40(1000000000ULL + static_cast<unsigned long long>(cycle));
    ASSERT_EQ(Typed(card), card.Text + e2e::kSentinel.Text)
        << "cycle " << cycle << "; " << DescribeFront();
    if (cycle == 1) gdi = GdiObjectCount(id);
  }
  EXPECT_LE(slowestLoss, kShowLossMs);
  EXPECT_LE(slowestReturn, kShowReturnMs);

  EXPECT_EQ(KernelHandleCount(id), handles);
  EXPECT_EQ(WindowCount(id), windows);
  EXPECT_EQ(ThreadCount(id), threads) << "a reader thread too many or too few";
  ASSERT_GT(gdi, 0) << "the GDI objects could not be counted";
  EXPECT_EQ(GdiObjectCount(id), gdi) << "GDI objects after the first of " << kCycles
                                     << " returns and after the last";
  std::cout << "after " << kCycles << " returns: " << gdi << " GDI objects; slowest loss "
            << slowestLoss << " ms, slowest return " << slowestReturn << " ms\n";
}

}  // namespace
