// The reader's line going away and coming back under the real program: the rig ends the
// pseudo-terminal pair behind COM2 (an adapter pulled out) and starts a new one on the same
// links (plugged in again), while this process watches the window, the tray icon and the
// cards typed into notepad.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>

#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/support/cardsim.h"
#include "tests/support/notepad.h"
#include "tests/support/process_resources.h"
#include "tests/support/rig_port_control.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/thread_facts.h"
#include "tests/support/tray_icon_look.h"
#include "tests/support/wait.h"
#include "tests/support/window_text.h"
#include "ui/main_window/resource_ids.h"

namespace {

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

bool LabelShowsOpen(const TLintavoInstance& lintavo) {
  const auto texts = lintavo.LabelTexts();
  return texts.size() == 4 && texts[3] == kPortOpen;
}

bool ShowsOpen(const TLintavoInstance& lintavo) {
  return LabelShowsOpen(lintavo) && IconShowsOpen();
}

// Milliseconds until the condition held, or none when it did not within the limit.
template <typename Condition>
std::optional<ULONGLONG> MsUntil(Condition condition, DWORD limitMs, ULONGLONG since) {
  if (!WaitUntil(condition, limitMs)) return std::nullopt;
  return GetTickCount64() - since;
}

// The port label drawn in the colour, with the main window brought to the front for it.
bool PortLabelDrawnIn(HWND main, const wchar_t* text, COLORREF colour) {
  SetForegroundWindow(main);
  const HWND label = ChildWithText(main, text);
  return label != nullptr && WaitUntil(
                                 [&] {
                                   RedrawWindow(main, nullptr, nullptr,
                                                RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                                   return TScreenPixels::OfWindow(label).Shows(colour);
                                 },
                                 5000);
}

// The program on COM2 with its window in view, and notepad to type into.
class LineLossTest : public testing::Test {
 protected:
  void Launch() {
    ASSERT_NE(Notepad.Edit(), nullptr);
    // Clear of Wine's tray window at the top left and of the main window, so that both
    // stay in view while notepad is in front.
    SetWindowPos(Notepad.Main(), nullptr, 0, 420, 600, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    Lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=0\r\nReaderType=1\r\n");
    ASSERT_TRUE(Lintavo.Start());
    Main = Lintavo.MainWindow(kLong);
    ASSERT_NE(Main, nullptr);
  }

  // Writes a card on the far end and returns what notepad received.
  std::wstring TypeCard(unsigned long long card) {
    const std::wstring expected = std::to_wstring(card);
    Notepad.Clear();
    // X delivers focus changes late now and then; a second asking gets it through.
    if (!Notepad.Focus() && !Notepad.Focus()) return L"<notepad has no caret>";
    if (RunCardsim(L"--port COM202 --card40 " + expected) != 0) return L"<cardsim failed>";
    WaitUntil([&] { return Notepad.Text().size() >= expected.size(); }, kLong);
    return Notepad.Text();
  }

  // The reader starts at the window's first activation, a moment after the label shows the
  // port open, and drops what the line held before it; a card written in that moment is
  // written once more.
  std::wstring TypeFirstCard(unsigned long long card) {
    std::wstring typed = TypeCard(card);
    if (typed.empty()) typed = TypeCard(card);
    return typed;
  }

  // Takes the port away; the time the program took to show it, or none.
  std::optional<ULONGLONG> TakeAwayAndTimeTheLoss() {
    const ULONGLONG start = GetTickCount64();
    if (rig::TakeAway(kPort) != rig::Ok("down", kPort)) return std::nullopt;
    return MsUntil([&] { return ShowsLost(Lintavo); }, kLong, start);
  }

  std::optional<ULONGLONG> BringBackAndTimeTheReturn() {
    const ULONGLONG start = GetTickCount64();
    if (rig::BringBack(kPort) != rig::Ok("up", kPort)) return std::nullopt;
    return MsUntil([&] { return ShowsOpen(Lintavo); }, kLong, start);
  }

  TNotepad Notepad;
  TLintavoInstance Lintavo{L"line loss"};
  HWND Main = nullptr;
};

using LineLoss = LineLossTest;
using LineFailedAtStart = LineLossTest;

TEST_F(LineLoss, ShownRedWithinASecondGreenAgainWithinThreeAndTheNextCardIsExact) {
  Launch();
  ASSERT_TRUE(WaitUntil([&] { return ShowsOpen(Lintavo); }, kLong));
  EXPECT_EQ(TypeFirstCard(1099511627775), L"1099511627775");

  const auto lossMs = TakeAwayAndTimeTheLoss();
  ASSERT_TRUE(lossMs) << "the loss was not shown";
  EXPECT_LE(*lossMs, kShowLossMs);
  EXPECT_TRUE(PortLabelDrawnIn(Main, kPortNotOpen, kRed));

  const auto returnMs = BringBackAndTimeTheReturn();
  ASSERT_TRUE(returnMs) << "the return was not shown";
  EXPECT_LE(*returnMs, kShowReturnMs);
  EXPECT_TRUE(PortLabelDrawnIn(Main, kPortOpen, kDarkGreen));
  EXPECT_EQ(TypeCard(305419896), L"305419896");
}

TEST_F(LineLoss, TwentyReturnsLeakNothingAndLoseNoCard) {
  Launch();
  ASSERT_TRUE(WaitUntil([&] { return ShowsOpen(Lintavo); }, kLong));
  ASSERT_EQ(TypeFirstCard(4294967296), L"4294967296");
  const DWORD id = Lintavo.ProcessId();
  const int handles = KernelHandleCount(id);
  const int windows = WindowCount(id);
  const int threads = ThreadCount(id);
  const auto gdi = GuiObjectCount(id, GR_GDIOBJECTS);
  const auto user = GuiObjectCount(id, GR_USEROBJECTS);
  ASSERT_GT(handles, 0);

  ULONGLONG slowestLoss = 0, slowestReturn = 0;
  for (int cycle = 1; cycle <= kCycles; ++cycle) {
    const auto lossMs = TakeAwayAndTimeTheLoss();
    ASSERT_TRUE(lossMs) << "cycle " << cycle << ": the loss was not shown";
    const auto returnMs = BringBackAndTimeTheReturn();
    ASSERT_TRUE(returnMs) << "cycle " << cycle << ": the return was not shown";
    slowestLoss = std::max(slowestLoss, *lossMs);
    slowestReturn = std::max(slowestReturn, *returnMs);
    const unsigned long long card = 1000000000ULL + static_cast<unsigned long long>(cycle);
    ASSERT_EQ(TypeCard(card), std::to_wstring(card)) << "cycle " << cycle;
  }
  EXPECT_LE(slowestLoss, kShowLossMs);
  EXPECT_LE(slowestReturn, kShowReturnMs);

  EXPECT_EQ(KernelHandleCount(id), handles);
  EXPECT_EQ(WindowCount(id), windows);
  EXPECT_EQ(ThreadCount(id), threads) << "a reader thread too many or too few";
  if (gdi) EXPECT_EQ(GuiObjectCount(id, GR_GDIOBJECTS), gdi);
  if (user) EXPECT_EQ(GuiObjectCount(id, GR_USEROBJECTS), user);
  std::cout << "after " << kCycles << " returns: kernel handles " << handles << " -> "
            << KernelHandleCount(id) << ", windows " << windows << " -> "
            << WindowCount(id) << ", threads " << threads << " -> " << ThreadCount(id)
            << ", GDI " << (gdi ? std::to_string(*gdi) : "not counted by this system")
            << ", USER " << (user ? std::to_string(*user) : "not counted by this system")
            << "; slowest loss " << slowestLoss << " ms, slowest return " << slowestReturn
            << " ms\n";
}

TEST_F(LineLoss, ConfirmingSetupWithTheLostPortReopensIt) {
  Launch();
  ASSERT_TRUE(WaitUntil([&] { return ShowsOpen(Lintavo); }, kLong));
  ASSERT_TRUE(TakeAwayAndTimeTheLoss());

  PostMessageW(Main, WM_COMMAND, IDM_SETUP_VIEW, 0);
  const HWND setup = Lintavo.WaitForTopLevel(L"TSetupForm", L"Установки", kLong);
  ASSERT_NE(setup, nullptr);
  ASSERT_EQ(rig::BringBack(kPort), rig::Ok("up", kPort));
  // While the operator is in the setup the program leaves the port alone: two retry
  // intervals pass with the device back and nothing reopens it.
  EXPECT_FALSE(WaitUntil([&] { return LabelShowsOpen(Lintavo); }, 4500));

  const HWND ok = WaitForWindow([&] { return GetDlgItem(setup, IDOK); }, kLong);
  ASSERT_NE(ok, nullptr);
  const ULONGLONG confirmed = GetTickCount64();
  PostMessageW(ok, BM_CLICK, 0, 0);
  // Well inside the 2 s the first retry after the dialog would take.
  const auto reopenMs = MsUntil([&] { return ShowsOpen(Lintavo); }, kLong, confirmed);
  ASSERT_TRUE(reopenMs);
  EXPECT_LE(*reopenMs, 1000u);
  EXPECT_EQ(TypeCard(16777216), L"16777216");
}

// Run with COM2 leading nowhere at start.
TEST_F(LineFailedAtStart, ComesBackByItselfWhenItsDeviceAppears) {
  Launch();
  ASSERT_TRUE(WaitUntil([&] { return ShowsLost(Lintavo); }, kLong));
  const auto returnMs = BringBackAndTimeTheReturn();
  ASSERT_TRUE(returnMs) << "the port did not come back";
  EXPECT_LE(*returnMs, kShowReturnMs);
  EXPECT_EQ(TypeCard(1234567890), L"1234567890");
}

}  // namespace
