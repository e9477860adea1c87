// The tray icon of the real program, driven from outside the way the shell drives it:
// the callback message with the mouse message in lParam, posted to the icon's window.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/dialog_buttons.h"
#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/tray_icon_look.h"
#include "tests/win/tray_test_support.h"
#include "ui/shell/texts.h"
#include "ui/tray/tray_icon.h"
#include "ui/tray/tray_icon_win.h"

namespace {

using e2e::ShownIconColours;
using e2e::TIconColours;

constexpr wchar_t kMessageFormClass[] = L"TMessageForm";
constexpr wchar_t kSetupFormClass[] = L"TSetupForm";
constexpr wchar_t kSetupCaption[] = L"Установки";
constexpr wchar_t kHelpViewerClass[] = L"QvmHelpViewer";
constexpr wchar_t kShotsDir[] = L"Z:\\tmp\\shots-tray-e2e";
constexpr DWORD kLong = 15'000;

// The menu's items from the top: show, setup, help, exit (the separator is skipped).
const std::vector<WPARAM> kShow{VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kSetup{VK_DOWN, VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kHelp{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};
const std::vector<WPARAM> kExit{VK_UP, VK_RETURN};

// The whole screen as a 24-bit bitmap file, for looking at the menu afterwards.
bool SaveScreen(const std::filesystem::path& file) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB};
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((width * 3 + 3) / 4) * 4;
  const DWORD size = stride * height;
  BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size),
                          0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  bool written = false;
  if (FILE* out = _wfopen(file.c_str(), L"wb")) {
    written = fwrite(&header, sizeof header, 1, out) == 1 &&
              fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
              fwrite(bits, 1, size, out) == size;
    fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return written;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64]{};
  GetClassNameW(window, name, 64);
  return name;
}

BOOL CALLBACK CountShownIcon(HWND icon, LPARAM count) {
  wchar_t name[64]{};
  GetClassNameW(icon, name, 64);
  if (std::wstring(name) == L"__winex11_tray_icon" && IsWindowVisible(icon))
    ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// The icons the notification area shows: with no task bar Wine keeps them as children of
// a tray window of its own.
int ShownTrayIcons() {
  const HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
  if (tray == nullptr) return 0;
  int count = 0;
  EnumChildWindows(tray, &CountShownIcon, reinterpret_cast<LPARAM>(&count));
  return count;
}

class TrayE2eTest : public testing::Test {
 protected:
  void SetUp() override {
    lintavo_.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=1\r\n");
    ASSERT_TRUE(lintavo_.Start());
    Main_ = lintavo_.MainWindow(kLong);
    ASSERT_NE(Main_, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return (Icon_ = lintavo_.FindTopLevel(kTrayIconWindowClass)) != nullptr; },
                          kLong));
    Application_ = lintavo_.FindTopLevel(L"TApplication");
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

  HWND ActiveWindowOfProgram() const {
    GUITHREADINFO info{sizeof(info)};
    GetGUIThreadInfo(GetWindowThreadProcessId(Main_, nullptr), &info);
    return info.hwndActive;
  }

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
  const HWND setup = lintavo_.WaitForTopLevel(kSetupFormClass, kSetupCaption, kLong);
  ASSERT_NE(setup, nullptr);
  // Something else active first, so that the second choice has to move the focus back.
  SetForegroundWindow(Main_);
  ASSERT_TRUE(WaitUntil([&] { return ActiveWindowOfProgram() == Main_; }, kLong));
  ASSERT_TRUE(ChooseFromMenu(kSetup));
  EXPECT_TRUE(WaitUntil([&] { return ActiveWindowOfProgram() == setup; }, kLong));
  EXPECT_EQ(lintavo_.FindTopLevel(kSetupFormClass, kSetupCaption), setup);
  PostMessageW(setup, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(setup); }, kLong));
}

TEST_F(TrayE2eTest, HelpOpensTheHelpViewer) {
  ASSERT_TRUE(ChooseFromMenu(kHelp));
  const HWND viewer = lintavo_.WaitForTopLevel(kHelpViewerClass, nullptr, kLong);
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(viewer) != FALSE; }, kLong));
}

TEST_F(TrayE2eTest, ExitAsksOnceBringsTheQuestionForwardAndEndsWithIconGone) {
  // The shell shows the icon a moment after the program adds it.
  int iconsShown = 0;
  ASSERT_TRUE(WaitUntil([&] { return (iconsShown = ShownTrayIcons()) >= 1; }, kLong));
  ASSERT_TRUE(ChooseFromMenu(kExit));
  const HWND question = lintavo_.WaitForTopLevel(kMessageFormClass, kCaptionExit, kLong);
  ASSERT_NE(question, nullptr);
  SetForegroundWindow(Main_);
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() != question; }, kLong));
  ASSERT_TRUE(ChooseFromMenu(kExit));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == question; }, kLong));
  EXPECT_EQ(lintavo_.FindTopLevel(kMessageFormClass, kCaptionExit), question);
  ASSERT_TRUE(e2e::PressButton(question, kButtonYes));
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
      << ClassOf(GetForegroundWindow());
}

TEST_F(TrayE2eTest, SingleLeftClickDoesNothing) {
  Minimise();
  TMenuWatcher watcher({VK_ESCAPE}, 1500);
  PostMouse(kLeftButtonDown);
  PostMouse(kLeftButtonUp);
  watcher.Join();
  EXPECT_FALSE(watcher.Seen());
  EXPECT_TRUE(IsIconic(Application_));
  EXPECT_FALSE(IsWindowVisible(Application_));
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

// Run with the port's device missing.
TEST_F(TrayE2eTest, IconIsRedWithThePortFailed) {
  TIconColours colours;
  EXPECT_TRUE(WaitUntil([&] { return (colours = ShownIconColours()).Red > 10; }, kLong));
  EXPECT_EQ(colours.Green, 0);
  std::filesystem::create_directories(kShotsDir);
  EXPECT_TRUE(SaveScreen(std::filesystem::path(kShotsDir) / L"tray_red.bmp"));
}

// Leaves a picture of the open menu for looking at its band, pictures and separator.
TEST_F(TrayE2eTest, OpenMenuScreenshot) {
  std::filesystem::create_directories(kShotsDir);
  PostMouse(kRightButtonDown);
  PostMouse(kRightButtonUp);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = VisiblePopupMenu()) != nullptr; }, kLong));
  Sleep(300);  // the items paint after the window shows
  PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  Sleep(300);
  EXPECT_TRUE(SaveScreen(std::filesystem::path(kShotsDir) / L"tray_menu.bmp"));
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([] { return VisiblePopupMenu() == nullptr; }, kLong));
}

}  // namespace
