// The tray components as the program carries them, driven from another process through
// the icon's message window the way the shell drives it.
#include <gtest/gtest.h>

#include <string>

#include "tests/win/tray_demo_process.h"
#include "tests/win/tray_demo_protocol.h"
#include "tests/support/menu_watcher.h"
#include "ui/shell/texts.h"
#include "ui/tray/tray_icon.h"

namespace {

constexpr POINT kCursor{420, 300};

class TrayDemoTest : public testing::Test {
 protected:
  void SetUp() override { SetCursorPos(kCursor.x, kCursor.y); }

  // Opens the menu with the right button and posts the keys to it; true when it showed.
  bool ChooseFromMenu(const TTrayDemoProcess& demo, std::vector<WPARAM> keys,
                      RECT* where = nullptr) {
    TMenuWatcher watcher(std::move(keys));
    demo.PostMouse(kRightButtonDown);
    demo.PostMouse(kRightButtonUp);
    watcher.Join();
    if (where != nullptr) *where = watcher.Rect();
    return watcher.Seen();
  }
};

// The message box's text is the one static control with more than its icon in it.
BOOL CALLBACK CopyMessageText(HWND child, LPARAM out) {
  wchar_t className[16]{};
  GetClassNameW(child, className, 16);
  if (std::wstring(className) == L"Static" && GetWindowTextLengthW(child) > 3)
    GetWindowTextW(child, reinterpret_cast<wchar_t*>(out), 128);
  return TRUE;
}

const std::vector<WPARAM> kSetup{VK_DOWN, VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kHelp{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kExit{VK_UP, VK_RETURN};

TEST_F(TrayDemoTest, RightClickOpensMenuAtCursorSetupOpensThenGetsFocus) {
  TTrayDemoProcess demo;
  ASSERT_TRUE(demo.Started());
  // Where the pointer is as the demo reads it; a warp from a process without windows may
  // not reach Wine's cursor state.
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT menu{};
  ASSERT_TRUE(ChooseFromMenu(demo, kSetup, &menu));
  EXPECT_EQ(menu.left, cursor.x);
  EXPECT_EQ(menu.top, cursor.y);
  ASSERT_TRUE(demo.WaitForLine(L"setup opened"));
  const std::size_t before = demo.Log().size();
  ASSERT_TRUE(ChooseFromMenu(demo, kSetup));
  EXPECT_TRUE(demo.WaitForLine(L"setup focused", before));
}

TEST_F(TrayDemoTest, HelpReachesItsAction) {
  TTrayDemoProcess demo;
  ASSERT_TRUE(demo.Started());
  ASSERT_TRUE(ChooseFromMenu(demo, kHelp));
  EXPECT_TRUE(demo.WaitForLine(L"help"));
}

TEST_F(TrayDemoTest, ExitAsksOnceThenBringsQuestionForwardAndEndsWithIconGone) {
  TTrayDemoProcess demo;
  ASSERT_TRUE(demo.Started());
  ASSERT_TRUE(ChooseFromMenu(demo, kExit));
  ASSERT_TRUE(demo.WaitForLine(L"exit asked"));
  ASSERT_TRUE(ChooseFromMenu(demo, kExit));
  ASSERT_TRUE(demo.WaitForLine(L"exit forward"));
  const HWND question = demo.Window(kExitQuestionClass, kCaptionExit);
  ASSERT_NE(question, nullptr);
  PostMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
  ASSERT_TRUE(demo.Exited(5000));
  EXPECT_TRUE(demo.WaitForLine(L"removed", 0, 0));
  EXPECT_FALSE(IsWindow(demo.IconWindow()));
}

TEST_F(TrayDemoTest, MinimisedLeavesTaskBarDoubleClickRestoresAndBringsForward) {
  TTrayDemoProcess demo;
  ASSERT_TRUE(demo.Started());
  const HWND application = demo.Window(L"TApplication");
  const HWND main = demo.Window(kTrayDemoClass);
  ASSERT_NE(application, nullptr);
  PostMessageW(main, kTrayDemoMinimize, 0, 0);
  ASSERT_TRUE(demo.WaitForLine(L"minimized"));
  EXPECT_TRUE(IsIconic(application));
  EXPECT_FALSE(IsWindowVisible(application));  // no task-bar button
  demo.PostMouse(kLeftButtonDoubleClick);
  demo.PostMouse(kLeftButtonUp);
  ASSERT_TRUE(demo.WaitForLine(L"show"));
  EXPECT_TRUE(demo.WaitForLine(L"restored", 0, 0));
  EXPECT_FALSE(IsIconic(application));
  EXPECT_TRUE(IsWindowVisible(application));
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(GetForegroundWindow(), main);
}

TEST_F(TrayDemoTest, SingleLeftClickDoesNothing) {
  TTrayDemoProcess demo;
  ASSERT_TRUE(demo.Started());
  const std::size_t before = demo.Log().size();
  TMenuWatcher watcher({VK_ESCAPE}, 700);
  demo.PostMouse(kLeftButtonDown);
  demo.PostMouse(kLeftButtonUp);
  watcher.Join();
  EXPECT_FALSE(watcher.Seen());
  EXPECT_EQ(demo.Log().size(), before);
}

TEST_F(TrayDemoTest, ErrorInCommandIsReportedAndIconKeepsWorking) {
  TTrayDemoProcess demo(L"throw");
  ASSERT_TRUE(demo.Started());
  ASSERT_TRUE(ChooseFromMenu(demo, kHelp));
  ASSERT_TRUE(demo.WaitForLine(L"report Сбой в команде"));
  HWND report = nullptr;
  for (int waited = 0; waited < 3000 && report == nullptr; waited += 20, Sleep(20))
    report = demo.Window(L"#32770", kApplicationTitle);
  ASSERT_NE(report, nullptr);
  wchar_t text[128]{};
  EnumChildWindows(report, CopyMessageText, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"Сбой в команде.");
  PostMessageW(GetDlgItem(report, IDOK), BM_CLICK, 0, 0);
  for (int waited = 0; waited < 3000 && IsWindow(report); waited += 20) Sleep(20);
  ASSERT_FALSE(IsWindow(report));
  ASSERT_TRUE(ChooseFromMenu(demo, kSetup));
  EXPECT_TRUE(demo.WaitForLine(L"setup opened"));
}

TEST_F(TrayDemoTest, StateImageFollowsThePort) {
  TTrayDemoProcess demo(L"red");
  ASSERT_TRUE(demo.Started());
  const HWND main = demo.Window(kTrayDemoClass);
  PostMessageW(main, kTrayDemoSetPortFailed, 0, 0);
  EXPECT_TRUE(demo.WaitForLine(L"state green"));
  PostMessageW(main, kTrayDemoSetPortFailed, 1, 0);
  const std::size_t before = demo.Log().size() - 1;
  EXPECT_TRUE(demo.WaitForLine(L"state red", before));
}

}  // namespace
