// Where the real program's window comes up, and what its exit leaves in the settings file,
// at two screen sizes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/lintavo_instance.h"
#include "tests/support/dialog_buttons.h"
#include "tests/support/display_size.h"
#include "tests/support/ini_section.h"
#include "tests/support/rect_compare.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/main_window/resource_ids.h"
#include "ui/shell/texts.h"

namespace {

constexpr DWORD kLong = 15'000;
constexpr RECT kDesigned{279, 117, 279 + 341, 117 + 200};
constexpr RECT kMovedHere{150, 90, 150 + 420, 90 + 260};
constexpr RECT kMovedThere{400, 300, 400 + 380, 300 + 230};
const std::string kSettingsOnly =
    "[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=1\r\n[Other]\r\nKeep=this\r\n";

std::string ScreenSuffix() {
  return "(" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
         std::to_string(GetSystemMetrics(SM_CYSCREEN)) + ")";
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

class PlacementE2eTest : public testing::Test {
 protected:
  // Starts the program and returns its window's rectangle as first seen on the screen.
  RECT StartAndFirstVisibleRect() {
    EXPECT_TRUE(lintavo_.Start());
    Main_ = lintavo_.MainWindow(kLong);
    EXPECT_NE(Main_, nullptr);
    RECT first{};
    EXPECT_TRUE(WaitUntil(
        [&] {
          const bool visible = IsWindowVisible(Main_) != FALSE;
          first = WindowRect(Main_);
          return visible;
        },
        kLong));
    return first;
  }

  void MoveTo(const RECT& r) const {
    SetWindowPos(Main_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(WindowRect(Main_), r);
  }

  // Without settings the program minimises itself at its first activation; asking to exit
  // before that would race the minimising, which hides every window it owns.
  void WaitMinimisedByDefault() const {
    const HWND application = lintavo_.WaitForTopLevel(window_class::kApplication, nullptr, kLong);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(application) != FALSE; }, kLong));
  }

  HWND AskToExit() const {
    PostMessageW(Main_, WM_COMMAND, IDM_FILE_EXIT, 0);
    return lintavo_.WaitForTopLevel(window_class::kMessageForm, kCaptionExit, kLong);
  }

  void ConfirmExit() const {
    const HWND question = AskToExit();
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(PressButton(question, kButtonYes));
    ASSERT_EQ(lintavo_.WaitForExit(kLong), 0u);
  }

  std::string Place(const std::string& key) const {
    for (const auto& [name, value] : IniSectionEntries(lintavo_.ReadIni(), "Place"))
      if (name == key) return value;
    return {};
  }

  e2e::TLintavoInstance lintavo_{L"placement"};
  HWND Main_ = nullptr;
};

TEST_F(PlacementE2eTest, FirstStartShowsDesignedPlaceAndExitWritesTheNineKeysInOrder) {
  ASSERT_TRUE(lintavo_.Start());
  Main_ = lintavo_.MainWindow(kLong);
  ASSERT_NE(Main_, nullptr);
  WINDOWPLACEMENT placement{sizeof(placement)};
  ASSERT_TRUE(WaitUntil([&] { return GetWindowPlacement(Main_, &placement) != FALSE; }, kLong));
  EXPECT_EQ(placement.rcNormalPosition, kDesigned);
  WaitMinimisedByDefault();
  ConfirmExit();
  const std::string size = ScreenSuffix();
  const std::vector<std::string> keys = IniSectionKeys(lintavo_.ReadIni(), "Place");
  const std::vector<std::string> expected{"FormVersion",          "Flags",         "ShowCmd",
                                          "PixelsPerInch",        "MinMaxPos" + size,
                                          "MinMaxPos",            "NormPos" + size,
                                          "NormPos",              "Visible"};
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(Place("FormVersion"), "0");
  EXPECT_EQ(Place("Visible"), "0");
  EXPECT_EQ(Place("NormPos"), "279,117,620,317");
  EXPECT_EQ(Place("NormPos" + size), Place("NormPos"));
}

TEST_F(PlacementE2eTest, MovedAndResizedWindowComesUpThereDirectlyAndOtherSectionsStay) {
  lintavo_.WriteIni(kSettingsOnly);
  EXPECT_EQ(StartAndFirstVisibleRect(), kDesigned);
  MoveTo(kMovedHere);
  ConfirmExit();
  const std::string saved = lintavo_.ReadIni();
  EXPECT_EQ(saved.substr(0, kSettingsOnly.size()), kSettingsOnly);
  EXPECT_EQ(Place("NormPos"), "150,90,570,350");
  EXPECT_EQ(StartAndFirstVisibleRect(), kMovedHere);
}

TEST_F(PlacementE2eTest, ExitWhileMinimisedStoresShowCmdTwoAndNextStartShowsTheRectangle) {
  lintavo_.WriteIni(kSettingsOnly);
  StartAndFirstVisibleRect();
  MoveTo(kMovedHere);
  PostMessageW(Main_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  const HWND application = lintavo_.FindTopLevel(window_class::kApplication);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(application) != FALSE; }, kLong));
  ConfirmExit();
  EXPECT_EQ(Place("ShowCmd"), "2");
  EXPECT_EQ(StartAndFirstVisibleRect(), kMovedHere);
  EXPECT_FALSE(IsIconic(Main_));
}

TEST_F(PlacementE2eTest, AnsweringNoWritesNothing) {
  lintavo_.WriteIni(kSettingsOnly);
  StartAndFirstVisibleRect();
  MoveTo(kMovedHere);
  const HWND question = AskToExit();
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(PressButton(question, kButtonNo));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }, kLong));
  EXPECT_TRUE(lintavo_.Running());
  EXPECT_EQ(lintavo_.ReadIni(), kSettingsOnly);
}

TEST_F(PlacementE2eTest, UnwritableSettingsFileIsReportedOnCloseAndOnDestroyAndTheProgramEnds) {
  // A folder in the file's place: every write to it fails, even for root.
  std::filesystem::create_directories(lintavo_.IniPath());
  ASSERT_TRUE(lintavo_.Start());
  Main_ = lintavo_.MainWindow(kLong);
  ASSERT_NE(Main_, nullptr);
  WaitMinimisedByDefault();
  const HWND question = AskToExit();
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(PressButton(question, kButtonYes));
  const std::wstring expected = L"Unable to write to " + lintavo_.IniPath().wstring() + L".";
  for (int report = 1; report <= 2; ++report) {
    SCOPED_TRACE(report);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          box = lintavo_.FindTopLevel(window_class::kDialog, kApplicationTitle);
          return box != nullptr && IsWindowVisible(box) && !MessageBoxText(box).empty();
        },
        kLong));
    EXPECT_EQ(MessageBoxText(box), expected);
    ASSERT_TRUE(PressButton(box, L"OK"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kLong));
  }
  EXPECT_NE(lintavo_.WaitForExit(kLong), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(PlacementE2eTest, EachScreenSizeRestoresItsOwnRectangleAndANewSizeTheLastSaved) {
  TDisplaySize screen;
  ASSERT_TRUE(screen.Switch({1024, 768}));
  lintavo_.WriteIni(kSettingsOnly);
  StartAndFirstVisibleRect();
  MoveTo(kMovedHere);
  ConfirmExit();

  ASSERT_TRUE(screen.Switch({1280, 1024}));
  EXPECT_EQ(StartAndFirstVisibleRect(), kMovedHere);
  MoveTo(kMovedThere);
  ConfirmExit();
  EXPECT_EQ(Place("NormPos(1280x1024)"), "400,300,780,530");
  EXPECT_EQ(Place("NormPos(1024x768)"), "150,90,570,350");

  ASSERT_TRUE(screen.Switch({1024, 768}));
  EXPECT_EQ(StartAndFirstVisibleRect(), kMovedHere);
  ConfirmExit();

  ASSERT_TRUE(screen.Switch({1280, 1024}));
  EXPECT_EQ(StartAndFirstVisibleRect(), kMovedThere);
}

}  // namespace
