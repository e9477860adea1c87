// Where the real program's window comes up, and what its exit leaves in the settings file,
// at two screen sizes.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/dialog_buttons.h"
#include "tests/e2e/lintavo_instance.h"
#include "ui/main_window/resource_ids.h"
#include "ui/shell/texts.h"

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom;
}

namespace {

constexpr wchar_t kMessageFormClass[] = L"TMessageForm";
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr DWORD kLong = 15'000;
constexpr RECT kDesigned{279, 117, 279 + 341, 117 + 200};
constexpr RECT kMovedHere{150, 90, 150 + 420, 90 + 260};
constexpr RECT kMovedThere{400, 300, 400 + 380, 300 + 230};
const std::string kSettingsOnly =
    "[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=1\r\n[Other]\r\nKeep=this\r\n";

using Entries = std::vector<std::pair<std::string, std::string>>;

// The keys and values of one section, in the order the file holds them.
Entries SectionEntries(const std::string& text, const std::string& section) {
  Entries entries;
  std::istringstream lines(text);
  bool inside = false;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inside = line == "[" + section + "]";
      continue;
    }
    const auto equals = line.find('=');
    if (inside && equals != std::string::npos)
      entries.emplace_back(line.substr(0, equals), line.substr(equals + 1));
  }
  return entries;
}

std::string ScreenSuffix() {
  return "(" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
         std::to_string(GetSystemMetrics(SM_CYSCREEN)) + ")";
}

// Switches the screen for a test and always puts the size it found back.
class TScreenSize {
 public:
  TScreenSize() {
    Original_.dmSize = sizeof(Original_);
    EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &Original_);
  }
  ~TScreenSize() {
    if (Changed_) ChangeDisplaySettingsW(&Original_, 0);
  }
  TScreenSize(const TScreenSize&) = delete;
  TScreenSize& operator=(const TScreenSize&) = delete;

  bool Switch(DWORD width, DWORD height) {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    Changed_ = true;
    return ChangeDisplaySettingsW(&mode, 0) == DISP_CHANGE_SUCCESSFUL &&
           GetSystemMetrics(SM_CXSCREEN) == static_cast<int>(width) &&
           GetSystemMetrics(SM_CYSCREEN) == static_cast<int>(height);
  }

 private:
  DEVMODEW Original_{};
  bool Changed_ = false;
};

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

BOOL CALLBACK KeepMessageText(HWND child, LPARAM out) {
  wchar_t cls[16]{};
  GetClassNameW(child, cls, 16);
  if (std::wstring(cls) == L"Static" && GetWindowTextLengthW(child) > 3) {
    wchar_t buffer[1024]{};
    GetWindowTextW(child, buffer, 1024);
    *reinterpret_cast<std::wstring*>(out) = buffer;
  }
  return TRUE;
}

// The text of a message box: its one static control with more than an icon in it.
std::wstring MessageText(HWND box) {
  std::wstring text;
  EnumChildWindows(box, &KeepMessageText, reinterpret_cast<LPARAM>(&text));
  return text;
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
    const HWND application = lintavo_.WaitForTopLevel(L"TApplication", nullptr, kLong);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(application) != FALSE; }, kLong));
  }

  HWND AskToExit() const {
    PostMessageW(Main_, WM_COMMAND, IDM_FILE_EXIT, 0);
    return lintavo_.WaitForTopLevel(kMessageFormClass, kCaptionExit, kLong);
  }

  void ConfirmExit() const {
    const HWND question = AskToExit();
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(e2e::PressButton(question, kButtonYes));
    ASSERT_EQ(lintavo_.WaitForExit(kLong), 0u);
  }

  std::string Place(const std::string& key) const {
    for (const auto& [name, value] : SectionEntries(lintavo_.ReadIni(), "Place"))
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
  const Entries place = SectionEntries(lintavo_.ReadIni(), "Place");
  std::vector<std::string> keys;
  for (const auto& entry : place) keys.push_back(entry.first);
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
  const HWND application = lintavo_.FindTopLevel(L"TApplication");
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
  ASSERT_TRUE(e2e::PressButton(question, kButtonNo));
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
  ASSERT_TRUE(e2e::PressButton(question, kButtonYes));
  const std::wstring expected = L"Unable to write to " + lintavo_.IniPath().wstring() + L".";
  for (int report = 1; report <= 2; ++report) {
    SCOPED_TRACE(report);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          box = lintavo_.FindTopLevel(kDialogClass, kApplicationTitle);
          return box != nullptr && IsWindowVisible(box) && !MessageText(box).empty();
        },
        kLong));
    EXPECT_EQ(MessageText(box), expected);
    ASSERT_TRUE(e2e::PressButton(box, L"OK"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kLong));
  }
  EXPECT_NE(lintavo_.WaitForExit(kLong), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(PlacementE2eTest, EachScreenSizeRestoresItsOwnRectangleAndANewSizeTheLastSaved) {
  TScreenSize screen;
  ASSERT_TRUE(screen.Switch(1024, 768));
  lintavo_.WriteIni(kSettingsOnly);
  StartAndFirstVisibleRect();
  MoveTo(kMovedHere);
  ConfirmExit();

  ASSERT_TRUE(screen.Switch(1280, 1024));
  EXPECT_EQ(StartAndFirstVisibleRect(), kMovedHere);
  MoveTo(kMovedThere);
  ConfirmExit();
  EXPECT_EQ(Place("NormPos(1280x1024)"), "400,300,780,530");
  EXPECT_EQ(Place("NormPos(1024x768)"), "150,90,570,350");

  ASSERT_TRUE(screen.Switch(1024, 768));
  EXPECT_EQ(StartAndFirstVisibleRect(), kMovedHere);
  ConfirmExit();

  ASSERT_TRUE(screen.Switch(1280, 1024));
  EXPECT_EQ(StartAndFirstVisibleRect(), kMovedThere);
}

}  // namespace
