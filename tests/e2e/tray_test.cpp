// The tray icon of the real program, one launch for the area, driven from outside the way
// the shell drives it: the callback message with the mouse message in lParam, posted to the
// icon's window. The tests run in order on the one program on COM2; the last ends it. How
// the icon tells its clicks apart is the icon's own (TrayIconTest on the Windows floor).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/lintavo_instance.h"
#include "tests/support/dialog_buttons.h"
#include "tests/support/front_window.h"
#include "tests/support/menu_watcher.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/tray_icon_look.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/shell/texts.h"
#include "ui/tray/drawn_menu.h"
#include "ui/tray/tray_icon.h"
#include "ui/tray/tray_icon_win.h"

namespace {

constexpr DWORD kLong = 15'000;

// The menu's items from the top: show, setup, journal, help, exit (the separator is skipped).
const std::vector<WPARAM> kShow{VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kSetup{VK_DOWN, VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kHelp{VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kExit{VK_UP, VK_RETURN};

COLORREF ScreenColour(TRgb rgb) { return RGB(rgb.Red, rgb.Green, rgb.Blue); }

class TrayE2E : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Lintavo = std::make_unique<e2e::TLintavoInstance>(L"tray");
    Lintavo->WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=1\r\n");
    StartedUp = Lintavo->Start() && Lintavo->WaitForStartUp(kLong);
  }
  static void TearDownTestSuite() { Lintavo.reset(); }
  void SetUp() override {
    ASSERT_TRUE(StartedUp) << "the program did not start up; " << DescribeFront();
    ASSERT_TRUE(Lintavo->Running()) << "the program has ended";
    Main_ = Lintavo->MainWindow(0);
    Icon_ = Lintavo->WaitForTopLevel(kTrayIconWindowClass, nullptr, kLong);
    ASSERT_NE(Icon_, nullptr);
    Application_ = Lintavo->FindTopLevel(window_class::kApplication);
    ASSERT_NE(Application_, nullptr);
    SetCursorPos(420, 300);
  }

  void PostMouse(unsigned mouseMessage) const {
    PostMessageW(Icon_, kTrayIconMessage, kTrayIconId, mouseMessage);
  }

  // Opens the menu with the right button and posts the keys to it; true when it showed.
  bool ChooseFromMenu(std::vector<WPARAM> keys, RECT* where = nullptr) const {
    TMenuWatcher watcher(std::move(keys), kLong);
    PostMouse(kRightButtonDown);
    PostMouse(kRightButtonUp);
    watcher.Join();
    if (where != nullptr) *where = watcher.Rect();
    return watcher.Seen();
  }

  HWND ActiveWindowOfProgram() const { return GuiThreadOf(Main_).hwndActive; }

  // Minimises as the window's minimise button does; the task-bar button goes with it.
  void Minimise() const {
    PostMessageW(Main_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil(
        [&] { return IsIconic(Application_) && !IsWindowVisible(Application_); }, kLong));
  }

  static inline std::unique_ptr<e2e::TLintavoInstance> Lintavo;
  static inline bool StartedUp = false;
  HWND Main_ = nullptr;
  HWND Icon_ = nullptr;
  HWND Application_ = nullptr;
};

TEST_F(TrayE2E, IconIsGreenWithThePortOpen) {
  TIconColours colours;
  EXPECT_TRUE(WaitUntil([&] { return (colours = ShownIconColours()).Green > 10; }, kLong))
      << ShownTrayIcons() << " icons shown";
  EXPECT_EQ(colours.Red, 0);
}

TEST_F(TrayE2E, RightClickOpensMenuAtCursorSetupOpensThenGetsFocus) {
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT menu{};
  ASSERT_TRUE(ChooseFromMenu(kSetup, &menu));
  EXPECT_EQ(menu.left, cursor.x);
  EXPECT_EQ(menu.top, cursor.y);
  const HWND setup = Lintavo->WaitForTopLevel(window_class::kSetupForm, kSetupCaption, kLong);
  ASSERT_NE(setup, nullptr);
  // Something else active first, so that the second choice has to move the focus back.
  ASSERT_TRUE(WaitForFront(setup, kLong)) << DescribeFront();
  SetForegroundWindow(Main_);
  ASSERT_TRUE(WaitUntil([&] { return ActiveWindowOfProgram() == Main_; }, kLong))
      << DescribeFront();
  ASSERT_TRUE(ChooseFromMenu(kSetup));
  EXPECT_TRUE(WaitUntil([&] { return ActiveWindowOfProgram() == setup; }, kLong));
  EXPECT_EQ(Lintavo->FindTopLevel(window_class::kSetupForm, kSetupCaption), setup);
  PostMessageW(setup, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(setup); }, kLong));
}

TEST_F(TrayE2E, HelpOpensTheHelpContents) {
  ASSERT_TRUE(ChooseFromMenu(kHelp));
  const HWND viewer =
      Lintavo->WaitForTopLevel(window_class::kHelpViewer, L"Помощь: Содержание", kLong);
  ASSERT_NE(viewer, nullptr) << "no help viewer on the contents";
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(viewer) != FALSE; }, kLong));
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(viewer); }, kLong));
}

// Wine draws a popup menu's frame and margin in its three outer pixels; the items start
// inside them.
constexpr int kMenuFrame = 3;

// A colour as the screen gives it back: a system colour may come back a step off.
bool Near(COLORREF shown, COLORREF colour) {
  const auto close = [](int a, int b) { return a - b <= 2 && b - a <= 2; };
  return close(GetRValue(shown), GetRValue(colour)) && close(GetGValue(shown), GetGValue(colour)) &&
         close(GetBValue(shown), GetBValue(colour));
}

// The menu as drawn, at pixels it names, from the first item's top left: the band down the
// left side runs from its first colour at the top to its last at the bottom with its word in
// white, and the selection bar of the first item starts right of the band and its edge.
TEST_F(TrayE2E, OpenMenuShowsTheBandAndASelectionRightOfIt) {
  TMenuWatcher watcher({VK_DOWN}, kLong);
  PostMouse(kRightButtonDown);
  PostMouse(kRightButtonUp);
  watcher.Join();
  ASSERT_TRUE(watcher.Seen());
  const HWND menu = VisiblePopupMenu();
  ASSERT_NE(menu, nullptr);
  RECT items{};
  GetWindowRect(menu, &items);
  InflateRect(&items, -kMenuFrame, -kMenuFrame);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_TRUE(WaitUntil([&] { return Near(TScreenPixels(items).At(25, 1), highlight); }, kLong))
      << "no selection bar on the first item";
  const TScreenPixels pixels(items);
  const int bottom = pixels.Height() - 1;
  EXPECT_EQ(pixels.At(0, 0), ScreenColour(kBandStart));
  EXPECT_EQ(pixels.At(17, 0), ScreenColour(kBandStart));
  EXPECT_EQ(pixels.At(0, bottom), ScreenColour(kBandEnd));
  int white = 0;
  for (int y = 0; y <= bottom; ++y)
    for (int x = 0; x < 18; ++x) white += pixels.At(x, y) == RGB(255, 255, 255);
  EXPECT_GT(white, 30) << "no word in the band";
  EXPECT_FALSE(Near(pixels.At(24, 1), highlight)) << "the selection bar covers the band's edge";
  EXPECT_TRUE(Near(pixels.At(pixels.Width() - 1, 1), highlight));
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([] { return VisiblePopupMenu() == nullptr; }, kLong));
}

TEST_F(TrayE2E, TaskBarButtonFromTheStartLeavesWhileMinimisedAndComesBack) {
  std::vector<HWND> buttons;
  ASSERT_TRUE(WaitUntil([&] { return (buttons = Lintavo->TaskBarWindows()).size() == 1; }, kLong));
  EXPECT_EQ(buttons[0], Application_);
  EXPECT_EQ(WindowText(buttons[0]), kApplicationTitle);
  Minimise();
  EXPECT_TRUE(Lintavo->TaskBarWindows().empty());
  ASSERT_TRUE(ChooseFromMenu(kShow));
  EXPECT_TRUE(WaitUntil(
      [&] {
        return !IsIconic(Application_) && IsWindowVisible(Main_) &&
               Lintavo->TaskBarWindows() == std::vector<HWND>{Application_};
      },
      kLong));
}

TEST_F(TrayE2E, MinimisedHasNoTaskBarButtonAndDoubleClickRestoresAndBringsForward) {
  Minimise();
  PostMouse(kLeftButtonDown);
  PostMouse(kLeftButtonUp);
  PostMouse(kLeftButtonDoubleClick);
  PostMouse(kLeftButtonUp);
  EXPECT_TRUE(WaitUntil(
      [&] {
        return !IsIconic(Application_) && IsWindowVisible(Application_) && IsWindowVisible(Main_);
      },
      kLong));
  EXPECT_TRUE(WaitForFront(Main_, kLong)) << DescribeFront();
}

// A right click after the left one opens the menu; the icon takes its messages in order, so
// by then the left click has had whatever effect it has.
TEST_F(TrayE2E, SingleLeftClickDoesNothing) {
  Minimise();
  const std::vector<HWND> shownBefore = TopLevelWindowsOfProcess(Lintavo->ProcessId());
  TMenuWatcher watcher({}, kLong);
  PostMouse(kLeftButtonDown);
  PostMouse(kLeftButtonUp);
  PostMouse(kRightButtonDown);
  PostMouse(kRightButtonUp);
  watcher.Join();
  ASSERT_TRUE(watcher.Seen()) << "the right click after it opened no menu";
  EXPECT_TRUE(IsIconic(Application_));
  EXPECT_FALSE(IsWindowVisible(Application_));
  std::vector<HWND> shownNow = TopLevelWindowsOfProcess(Lintavo->ProcessId());
  std::erase(shownNow, VisiblePopupMenu());
  EXPECT_EQ(shownNow, shownBefore) << "a command ran";
  PostMessageW(VisiblePopupMenu(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([] { return VisiblePopupMenu() == nullptr; }, kLong));
}

// Ends the program.
TEST_F(TrayE2E, ExitAsksOnceBringsTheQuestionForwardAndEndsWithIconGone) {
  int iconsShown = 0;
  ASSERT_TRUE(WaitUntil([&] { return (iconsShown = ShownTrayIcons()) >= 1; }, kLong));
  ASSERT_TRUE(ChooseFromMenu(kExit));
  const HWND question = Lintavo->WaitForTopLevel(window_class::kMessageForm, kCaptionExit, kLong);
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(WaitForFront(question, kLong)) << DescribeFront();
  SetForegroundWindow(Main_);
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() != question; }, kLong))
      << DescribeFront();
  ASSERT_TRUE(ChooseFromMenu(kExit));
  EXPECT_TRUE(WaitForFront(question, kLong)) << DescribeFront();
  EXPECT_EQ(Lintavo->FindTopLevel(window_class::kMessageForm, kCaptionExit), question);
  EXPECT_EQ(VisibleTopLevels(window_class::kMessageForm), std::vector<HWND>{question});
  ASSERT_TRUE(PressButton(question, kButtonYes));
  EXPECT_EQ(Lintavo->WaitForExit(kLong), 0u);
  EXPECT_FALSE(IsWindow(Icon_));
  EXPECT_TRUE(WaitUntil([&] { return ShownTrayIcons() == iconsShown - 1; }, kLong));
}

}  // namespace
