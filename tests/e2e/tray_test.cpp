// The tray icon of the real program, driven from outside the way the shell drives it:
// the callback message with the mouse message in lParam, posted to the icon's window.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/support/dialog_buttons.h"
#include "tests/support/menu_watcher.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/setup_dialog_driver.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/tray_icon_look.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/main_window/resource_ids.h"
#include "ui/setup/setup_form_win.h"
#include "ui/shell/texts.h"
#include "ui/tray/tray_icon.h"
#include "ui/tray/tray_icon_win.h"

namespace {

constexpr wchar_t kShotsDir[] = L"Z:\\tmp\\shots-tray-e2e";
constexpr DWORD kLong = 15'000;

// The menu's items from the top: show, setup, help, exit (the separator is skipped).
const std::vector<WPARAM> kShow{VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kSetup{VK_DOWN, VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kHelp{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kExit{VK_UP, VK_RETURN};

// The whole screen left as a bitmap file, for looking at the menu afterwards.
bool SaveScreen(const wchar_t* name) {
  std::filesystem::create_directories(kShotsDir);
  return TScreenPixels::WholeScreen().SaveBitmap(std::filesystem::path(kShotsDir) / name);
}


class TrayE2eTest : public testing::Test {
 protected:
  void SetUp() override {
    lintavo_.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=1\r\n");
    ASSERT_TRUE(lintavo_.Start());
    Main_ = lintavo_.MainWindow(kLong);
    ASSERT_NE(Main_, nullptr);
    Icon_ = lintavo_.WaitForTopLevel(kTrayIconWindowClass, nullptr, kLong);
    ASSERT_NE(Icon_, nullptr);
    Application_ = lintavo_.FindTopLevel(window_class::kApplication);
    ASSERT_NE(Application_, nullptr);
    SetCursorPos(420, 300);
  }

  void PostMouse(unsigned mouseMessage) const {
    PostMessageW(Icon_, kTrayIconMessage, kTrayIconId, mouseMessage);
  }

  // Opens the menu with the right button and posts the keys to it; true when it showed.
  bool ChooseFromMenu(std::vector<WPARAM> keys, RECT* where = nullptr) const {
    TMenuWatcher watcher(std::move(keys), 10'000);
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

  e2e::TLintavoInstance lintavo_{L"tray"};
  HWND Main_ = nullptr;
  HWND Icon_ = nullptr;
  HWND Application_ = nullptr;
};

TEST_F(TrayE2eTest, RightClickOpensMenuAtCursorSetupOpensThenGetsFocus) {
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT menu{};
  ASSERT_TRUE(ChooseFromMenu(kSetup, &menu));
  EXPECT_EQ(menu.left, cursor.x);
  EXPECT_EQ(menu.top, cursor.y);
  const HWND setup = lintavo_.WaitForTopLevel(window_class::kSetupForm, kSetupCaption, kLong);
  ASSERT_NE(setup, nullptr);
  // Something else active first, so that the second choice has to move the focus back.
  SetForegroundWindow(Main_);
  ASSERT_TRUE(WaitUntil([&] { return ActiveWindowOfProgram() == Main_; }, kLong));
  ASSERT_TRUE(ChooseFromMenu(kSetup));
  EXPECT_TRUE(WaitUntil([&] { return ActiveWindowOfProgram() == setup; }, kLong));
  EXPECT_EQ(lintavo_.FindTopLevel(window_class::kSetupForm, kSetupCaption), setup);
  PostMessageW(setup, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(setup); }, kLong));
}

TEST_F(TrayE2eTest, HelpOpensTheHelpViewer) {
  ASSERT_TRUE(ChooseFromMenu(kHelp));
  const HWND viewer = lintavo_.WaitForTopLevel(window_class::kHelpViewer, nullptr, kLong);
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(viewer) != FALSE; }, kLong));
}

TEST_F(TrayE2eTest, ExitAsksOnceBringsTheQuestionForwardAndEndsWithIconGone) {
  // The shell shows the icon a moment after the program adds it.
  int iconsShown = 0;
  ASSERT_TRUE(WaitUntil([&] { return (iconsShown = ShownTrayIcons()) >= 1; }, kLong));
  ASSERT_TRUE(ChooseFromMenu(kExit));
  const HWND question = lintavo_.WaitForTopLevel(window_class::kMessageForm, kCaptionExit, kLong);
  ASSERT_NE(question, nullptr);
  SetForegroundWindow(Main_);
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() != question; }, kLong));
  ASSERT_TRUE(ChooseFromMenu(kExit));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == question; }, kLong));
  EXPECT_EQ(lintavo_.FindTopLevel(window_class::kMessageForm, kCaptionExit), question);
  EXPECT_EQ(VisibleTopLevels(window_class::kMessageForm), std::vector<HWND>{question});
  ASSERT_TRUE(PressButton(question, kButtonYes));
  EXPECT_EQ(lintavo_.WaitForExit(kLong), 0u);
  EXPECT_FALSE(IsWindow(Icon_));
  EXPECT_TRUE(WaitUntil([&] { return ShownTrayIcons() == iconsShown - 1; }, kLong));
}

TEST_F(TrayE2eTest, TaskBarButtonFromTheStartLeavesWhileMinimisedAndComesBack) {
  std::vector<HWND> buttons;
  ASSERT_TRUE(WaitUntil([&] { return (buttons = lintavo_.TaskBarWindows()).size() == 1; }, kLong));
  EXPECT_EQ(buttons[0], Application_);
  EXPECT_EQ(WindowText(buttons[0]), kApplicationTitle);
  Minimise();
  EXPECT_TRUE(lintavo_.TaskBarWindows().empty());
  ASSERT_TRUE(ChooseFromMenu(kShow));
  EXPECT_TRUE(WaitUntil(
      [&] {
        return !IsIconic(Application_) && IsWindowVisible(Main_) &&
               lintavo_.TaskBarWindows() == std::vector<HWND>{Application_};
      },
      kLong));
}

TEST_F(TrayE2eTest, MinimisedHasNoTaskBarButtonAndDoubleClickRestoresAndBringsForward) {
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
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Main_; }, kLong))
      << ClassName(GetForegroundWindow());
}

TEST_F(TrayE2eTest, SingleLeftClickDoesNothing) {
  Minimise();
  const std::vector<HWND> shownBefore = TopLevelWindowsOfProcess(lintavo_.ProcessId());
  TMenuWatcher watcher({VK_ESCAPE}, 1500);
  PostMouse(kLeftButtonDown);
  PostMouse(kLeftButtonUp);
  watcher.Join();
  EXPECT_FALSE(watcher.Seen());
  EXPECT_TRUE(IsIconic(Application_));
  EXPECT_FALSE(IsWindowVisible(Application_));
  EXPECT_EQ(TopLevelWindowsOfProcess(lintavo_.ProcessId()), shownBefore) << "a command ran";
}

TEST_F(TrayE2eTest, RightButtonPressedElsewhereOpensNoMenu) {
  TMenuWatcher watcher({VK_ESCAPE}, 1500);
  PostMouse(kRightButtonUp);
  watcher.Join();
  EXPECT_FALSE(watcher.Seen());
}

TEST_F(TrayE2eTest, IconIsGreenWithThePortOpen) {
  TIconColours colours;
  EXPECT_TRUE(WaitUntil([&] { return (colours = ShownIconColours()).Green > 10; }, kLong));
  EXPECT_EQ(colours.Red, 0);
}

// Leaves a picture of the open menu for looking at its band, pictures and separator.
TEST_F(TrayE2eTest, OpenMenuScreenshot) {
  PostMouse(kRightButtonDown);
  PostMouse(kRightButtonUp);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = VisiblePopupMenu()) != nullptr; }, kLong));
  Sleep(300);  // the items paint after the window shows
  PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  Sleep(300);
  EXPECT_TRUE(SaveScreen(L"tray_menu.bmp"));
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([] { return VisiblePopupMenu() == nullptr; }, kLong));
}

// Run with COM1 free, COM2 leading nowhere and no COM3 at all; the program starts on COM2.
class TrayPortFailed : public TrayE2eTest {
 protected:
  enum class State { Open, Failed };

  // Waits until the icon shows the state's colour and not the other one.
  bool IconTurns(State state) const {
      return WaitUntil(
        [&] {
          return state == State::Open ? IconShowsOpen() : IconShowsFailure();
        },
        kLong);
  }

  // Chooses the port in the setup dialog opened from the main menu, and confirms.
  void ChoosePort(int port) const {
    TSetupDialogDriver setup(e2e::OpenSetupDialog(lintavo_, IDM_SETUP_READER, kLong));
    ASSERT_NE(setup.Dialog, nullptr) << "the setup dialog did not appear";
    setup.ClickRow(port - 1);
    ASSERT_EQ(setup.CheckedPorts(), std::vector<int>{port});
    setup.Press(TSetupForm::kOkButtonId);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(setup.Dialog); }, kLong));
  }
};

TEST_F(TrayPortFailed, IconIsRedWithThePortFailed) {
  TIconColours colours;
  EXPECT_TRUE(WaitUntil([&] { return (colours = ShownIconColours()).Red > 10; }, kLong));
  EXPECT_EQ(colours.Green, 0);
  EXPECT_TRUE(SaveScreen(L"tray_red.bmp"));
}

TEST_F(TrayPortFailed, StateImageFollowsThePort) {
  ASSERT_TRUE(IconTurns(State::Failed)) << "not red with the port failed at start";
  ASSERT_NO_FATAL_FAILURE(ChoosePort(1));
  EXPECT_TRUE(IconTurns(State::Open)) << "not green on the working port";
  ASSERT_NO_FATAL_FAILURE(ChoosePort(3));
  EXPECT_TRUE(IconTurns(State::Failed)) << "not red again on a port that fails";
}

}  // namespace
