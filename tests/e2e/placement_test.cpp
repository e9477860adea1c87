// Where the real program's window comes up, and what its exit leaves in the settings file:
// the designed place at the first start, the window moved and the program ended, and the next
// start coming up where it was left. Screen sizes, a minimised exit, a refused exit and a
// file that cannot be written are the placement's own (FormPlacementWin on the Windows floor,
// with a window wired as the main window wires it). The tests run in order.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/lintavo_instance.h"
#include "tests/support/dialog_buttons.h"
#include "tests/support/ini_section.h"
#include "tests/support/rect_compare.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "ui/main_window/resource_ids.h"
#include "ui/shell/texts.h"

namespace {

constexpr DWORD kLong = 15'000;
constexpr RECT kDesigned{279, 117, 279 + 341, 117 + 200};
constexpr RECT kMovedHere{150, 90, 150 + 420, 90 + 260};
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

// One program folder for the suite, its program started anew by each test.
class PlacementE2E : public testing::Test {
 protected:
  static void SetUpTestSuite() { Lintavo = std::make_unique<e2e::TLintavoInstance>(L"placement"); }
  static void TearDownTestSuite() { Lintavo.reset(); }

  // Starts the program and returns its window's rectangle as first seen on the screen.
  RECT StartAndFirstVisibleRect() {
    EXPECT_TRUE(Lintavo->Start());
    Main_ = Lintavo->MainWindow(kLong);
    EXPECT_NE(Main_, nullptr);
    RECT first{};
    EXPECT_TRUE(WaitUntil(
        [&] {
          const bool visible = IsWindowVisible(Main_) != FALSE;
          first = WindowRect(Main_);
          return visible;
        },
        kLong));
    EXPECT_TRUE(Lintavo->WaitForStartUp(kLong));
    return first;
  }

  void ConfirmExit() const {
    PostMessageW(Main_, WM_COMMAND, IDM_FILE_EXIT, 0);
    const HWND question =
        Lintavo->WaitForTopLevel(window_class::kMessageForm, kCaptionExit, kLong);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(PressButton(question, kButtonYes));
    ASSERT_EQ(Lintavo->WaitForExit(kLong), 0u);
  }

  static std::string Place(const std::string& key) {
    for (const auto& [name, value] : IniSectionEntries(Lintavo->ReadIni(), "Place"))
      if (name == key) return value;
    return {};
  }

  static inline std::unique_ptr<e2e::TLintavoInstance> Lintavo;
  HWND Main_ = nullptr;
};

TEST_F(PlacementE2E, FirstStartShowsTheDesignedPlaceAndExitWritesTheNineKeysInOrder) {
  Lintavo->WriteIni(kSettingsOnly);
  EXPECT_EQ(StartAndFirstVisibleRect(), kDesigned);
  SetWindowPos(Main_, nullptr, kMovedHere.left, kMovedHere.top,
               kMovedHere.right - kMovedHere.left, kMovedHere.bottom - kMovedHere.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(WindowRect(Main_), kMovedHere);
  ConfirmExit();

  const std::string size = ScreenSuffix();
  const std::vector<std::string> keys = IniSectionKeys(Lintavo->ReadIni(), "Place");
  const std::vector<std::string> expected{"FormVersion",          "Flags",         "ShowCmd",
                                          "PixelsPerInch",        "MinMaxPos" + size,
                                          "MinMaxPos",            "NormPos" + size,
                                          "NormPos",              "Visible"};
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(Place("FormVersion"), "0");
  EXPECT_EQ(Place("NormPos"), "150,90,570,350");
  EXPECT_EQ(Place("NormPos" + size), Place("NormPos"));
  EXPECT_EQ(Lintavo->ReadIni().substr(0, kSettingsOnly.size()), kSettingsOnly)
      << "the other sections did not stay";
}

TEST_F(PlacementE2E, TheNextStartComesUpDirectlyWhereTheWindowWasLeft) {
  ASSERT_FALSE(Place("NormPos").empty()) << "no place was saved";
  EXPECT_EQ(StartAndFirstVisibleRect(), kMovedHere);
  ConfirmExit();
}

}  // namespace
