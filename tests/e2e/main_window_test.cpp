// The main window of the real program, one launch per area: what it shows, its size, help
// and about from the menu and from the toolbar's drop-down, the toolbar of a widened window
// and the exit question (MainWindow); the error boxes when the companion libraries are
// missing (NoCompanions); and copies of the program side by side (Copies). The tests of a
// suite run in order on the one running program; the last of a suite may end it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lintavo_version.h"
#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/notepad_card.h"
#include "tests/support/dialog_buttons.h"
#include "tests/support/front_window.h"
#include "tests/support/menu_watcher.h"
#include "tests/support/notepad.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/main_window/resource_ids.h"
#include "ui/shell/texts.h"

namespace {

using e2e::TCard;
using e2e::TLintavoInstance;

constexpr wchar_t kPortOpen[] = L"COM2 - Порт открыт";
constexpr COLORREF kDarkGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr DWORD kLong = 15'000;
const std::wstring kVersion = L"" LINTAVO_VERSION_TEXT;

// Whether the label as the screen shows it has any pixel of the colour.
bool ShowsColour(HWND label, COLORREF colour) {
  return TScreenPixels::OfWindow(label).Shows(colour);
}

bool Minimised(const TLintavoInstance& lintavo, HWND main) {
  const HWND application = lintavo.FindTopLevel(window_class::kApplication);
  return application != nullptr && IsIconic(application) && !IsWindowVisible(main);
}

HWND WaitForExitQuestion(const TLintavoInstance& lintavo) {
  return lintavo.WaitForTopLevel(window_class::kMessageForm, kCaptionExit, kLong);
}

// An entry of the help menu, from the main menu or `Downs` key presses down the toolbar's
// help drop-down.
struct THelpEntry {
  int Command;
  int Downs;
};
constexpr THelpEntry kMainWindowHelp{IDM_HELP_MAINWINDOW, 1};
constexpr THelpEntry kHelpContents{IDM_HELP_CONTENTS, 2};
constexpr THelpEntry kAbout{IDM_HELP_ABOUT, 3};

void ChooseFromMenu(HWND main, THelpEntry entry) { e2e::PostMenuCommand(main, entry.Command); }

void ChooseFromDropDown(HWND main, THelpEntry entry) {
  std::vector<WPARAM> keys(static_cast<std::size_t>(entry.Downs), VK_DOWN);
  keys.push_back(VK_RETURN);
  TMenuWatcher watcher(keys, kLong);
  e2e::PostToolBarPress(main, e2e::ToolButtonLeft(main, e2e::ToolButton::Help) + 20);
  watcher.Join();
  ASSERT_TRUE(watcher.Seen()) << "the help drop-down did not open";
}

// One program on COM2 for a whole suite.
struct TSharedProgram {
  explicit TSharedProgram(const wchar_t* name) : Lintavo(name) {}
  void Start() { StartedUp = Lintavo.Start() && Lintavo.WaitForStartUp(kLong); }

  TLintavoInstance Lintavo;
  bool StartedUp = false;
};

// A program started with the settings file (none when empty).
std::unique_ptr<TSharedProgram> Started(const wchar_t* name, const std::string& ini) {
  auto program = std::make_unique<TSharedProgram>(name);
  if (!ini.empty()) program->Lintavo.WriteIni(ini);
  program->Start();
  return program;
}

// ---- one program with its window in view ---------------------------------------------------

class MainWindow : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Program = Started(L"main window", "[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=1\r\n");
  }
  static void TearDownTestSuite() { Program.reset(); }
  void SetUp() override {
    ASSERT_TRUE(Program->StartedUp) << "the program did not start up; " << DescribeFront();
    ASSERT_TRUE(Lintavo().Running()) << "the program has ended";
    Main = Lintavo().MainWindow(0);
    ASSERT_NE(Main, nullptr);
  }

  static TLintavoInstance& Lintavo() { return Program->Lintavo; }

  // Chooses the entry and waits for the help viewer on exactly that topic; closes it.
  void ShowsHelpTopic(void (*choose)(HWND, THelpEntry), THelpEntry entry,
                      const wchar_t* caption) {
    ASSERT_NO_FATAL_FAILURE(choose(Main, entry));
    const HWND viewer = Lintavo().WaitForTopLevel(window_class::kHelpViewer, caption, kLong);
    ASSERT_NE(viewer, nullptr) << "no help viewer on \"" << caption << "\"";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(viewer) != FALSE; }, kLong));
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(viewer); }, kLong));
    EXPECT_TRUE(Lintavo().Running());
  }

  // Chooses the entry and waits for the about box with the version; closes it.
  void ShowsAboutBox(void (*choose)(HWND, THelpEntry)) {
    ASSERT_NO_FATAL_FAILURE(choose(Main, kAbout));
    const HWND about = Lintavo().WaitForTopLevel(window_class::kDialog, L"О программе", kLong);
    ASSERT_NE(about, nullptr) << "no about box";
    EXPECT_TRUE(WaitUntil([&] { return HasChildText(about, L"Версия " + kVersion); }, kLong))
        << "the about box shows no version line";
    ASSERT_TRUE(PressButton(about, L"Закрыть"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, kLong));
    EXPECT_TRUE(Lintavo().Running());
  }

  static inline std::unique_ptr<TSharedProgram> Program;
  HWND Main = nullptr;
};

TEST_F(MainWindow, ShowsTheReaderTypeAndThePortOpenInDarkGreen) {
  const auto texts = Lintavo().LabelTexts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[2], L"26 bit");
  EXPECT_EQ(texts[3], kPortOpen);
  const HWND label = ChildWithText(Main, kPortOpen);
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ShowsColour(label, kDarkGreen); }, kLong));
  EXPECT_FALSE(ShowsColour(label, kRed));
}

TEST_F(MainWindow, CannotBeMadeSmallerThanDesignedAndHasNoMaximise) {
  EXPECT_EQ(GetWindowLongW(Main, GWL_STYLE) & WS_MAXIMIZEBOX, 0);
  SetWindowPos(Main, nullptr, 0, 0, 100, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r{};
  GetWindowRect(Main, &r);
  EXPECT_EQ(r.right - r.left, 341);
  EXPECT_EQ(r.bottom - r.top, 200);
}

TEST_F(MainWindow, MenuMainWindowHelpOpensItsTopic) {
  ShowsHelpTopic(&ChooseFromMenu, kMainWindowHelp, L"Помощь: Главное окно");
}

TEST_F(MainWindow, MenuHelpContentsOpensTheContents) {
  ShowsHelpTopic(&ChooseFromMenu, kHelpContents, L"Помощь: Содержание");
}

TEST_F(MainWindow, MenuAboutShowsTheVersion) { ShowsAboutBox(&ChooseFromMenu); }

TEST_F(MainWindow, DropDownMainWindowHelpOpensItsTopic) {
  ShowsHelpTopic(&ChooseFromDropDown, kMainWindowHelp, L"Помощь: Главное окно");
}

TEST_F(MainWindow, DropDownHelpContentsOpensTheContents) {
  ShowsHelpTopic(&ChooseFromDropDown, kHelpContents, L"Помощь: Содержание");
}

TEST_F(MainWindow, DropDownAboutShowsTheVersion) { ShowsAboutBox(&ChooseFromDropDown); }

// Where exactly the buttons stand is the toolbar's own (its unit tests), and which button a
// pixel belongs to is the Windows floor's (ToolBarEdges); here the main window moves the
// buttons along when it is widened, out of the narrow window's width.
TEST_F(MainWindow, WidenedWindowKeepsTheHelpAndExitButtonsAtItsRightEdge) {
  SetWindowPos(Main, nullptr, 0, 0, 600, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(OuterSize(Main).cx, 600);
  e2e::PostToolBarClick(Main, e2e::ToolButton::Exit);
  const HWND question = WaitForExitQuestion(Lintavo());
  ASSERT_NE(question, nullptr) << "the exit button is not at the right edge";
  ASSERT_TRUE(PressButton(question, kButtonNo));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }, kLong));
  {
    TMenuWatcher watcher({VK_ESCAPE}, kLong);
    e2e::PostToolBarPress(Main, e2e::ToolButtonLeft(Main, e2e::ToolButton::Help) + 20);
    watcher.Join();
    EXPECT_TRUE(watcher.Seen()) << "the help button is not left of the exit button";
  }
  EXPECT_TRUE(WaitUntil([] { return VisiblePopupMenu() == nullptr; }, kLong));
  SetWindowPos(Main, nullptr, 0, 0, 341, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Ends the program.
TEST_F(MainWindow, ExitQuestionNoKeepsRunningARepeatBringsItForwardYesEnds) {
  TNotepad notepad;  // something else to hold the front while the question waits
  ASSERT_NE(notepad.Edit(), nullptr);
  ASSERT_TRUE(BringToFront(Main, nullptr)) << DescribeFront();

  e2e::PostMenuCommand(Main, IDM_FILE_EXIT);
  HWND question = WaitForExitQuestion(Lintavo());
  ASSERT_NE(question, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return e2e::MessageFormText(question) == kQuestionExit; }, kLong));
  ASSERT_TRUE(PressButton(question, kButtonNo));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(question); }, kLong));
  EXPECT_TRUE(Lintavo().Running());
  ASSERT_TRUE(WaitForFront(Main, kLong)) << DescribeFront();

  e2e::PostToolBarClick(Main, e2e::ToolButton::Exit);
  question = WaitForExitQuestion(Lintavo());
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(WaitForFront(question, kLong)) << DescribeFront();
  // The question is in front as soon as it shows, and then asks for the front once more
  // before its loop takes messages; a message sent to it returns only from that loop, so
  // notepad is asked for the front after the question's last word on it.
  DWORD_PTR ignored = 0;
  ASSERT_TRUE(SendMessageTimeoutW(question, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kLong, &ignored));
  ASSERT_TRUE(notepad.Focus()) << DescribeFront();
  e2e::PostMenuCommand(Main, IDM_FILE_EXIT);
  EXPECT_TRUE(WaitForFront(question, kLong)) << DescribeFront();
  EXPECT_EQ(VisibleTopLevels(window_class::kMessageForm).size(), 1u);

  ASSERT_TRUE(PressButton(question, kButtonYes));
  EXPECT_EQ(Lintavo().WaitForExit(kLong), 0u);
}

// ---- one program without its companion libraries -----------------------------------------

constexpr wchar_t kHelpMissing[] =
    L"Библиотека для работы с документацией/помощью (qvm_help.dll)\rне загружена!";
constexpr wchar_t kAboutMissing[] = L"Не удалось загрузить библиотеку about.dll";

class NoCompanions : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Program = std::make_unique<TSharedProgram>(L"no companions");
    Program->Lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\n");
    Program->Lintavo.RemoveFile(L"qvm_help.dll");
    Program->Lintavo.RemoveFile(L"about.dll");
    Program->Start();
  }
  static void TearDownTestSuite() { Program.reset(); }
  void SetUp() override {
    ASSERT_TRUE(Program->StartedUp) << "the program did not start up; " << DescribeFront();
    Main = Program->Lintavo.MainWindow(0);
    ASSERT_NE(Main, nullptr);
  }

  // Chooses the entry and waits for the error box with the caption and the text; closes it.
  void ShowsTheErrorBoxAndKeepsRunning(void (*choose)(HWND, THelpEntry), THelpEntry entry,
                                       const wchar_t* caption, const wchar_t* text) {
    ASSERT_NO_FATAL_FAILURE(choose(Main, entry));
    const HWND box = Program->Lintavo.WaitForTopLevel(window_class::kDialog, caption, kLong);
    ASSERT_NE(box, nullptr) << "no box \"" << caption << "\"";
    EXPECT_TRUE(WaitUntil([&] { return HasChildText(box, text); }, kLong));
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kLong));
    EXPECT_TRUE(Program->Lintavo.Running());
    EXPECT_EQ(Program->Lintavo.MainWindow(0), Main);
  }

  static inline std::unique_ptr<TSharedProgram> Program;
  HWND Main = nullptr;
};

TEST_F(NoCompanions, MenuMainWindowHelpShowsTheErrorBoxAndKeepsRunning) {
  ShowsTheErrorBoxAndKeepsRunning(&ChooseFromMenu, kMainWindowHelp, L"Помощь", kHelpMissing);
}

TEST_F(NoCompanions, MenuHelpContentsShowsTheErrorBoxAndKeepsRunning) {
  ShowsTheErrorBoxAndKeepsRunning(&ChooseFromMenu, kHelpContents, L"Помощь", kHelpMissing);
}

TEST_F(NoCompanions, MenuAboutShowsTheErrorBoxAndKeepsRunning) {
  ShowsTheErrorBoxAndKeepsRunning(&ChooseFromMenu, kAbout, L"Ошибка", kAboutMissing);
}

TEST_F(NoCompanions, DropDownHelpContentsShowsTheErrorBoxAndKeepsRunning) {
  ShowsTheErrorBoxAndKeepsRunning(&ChooseFromDropDown, kHelpContents, L"Помощь", kHelpMissing);
}

TEST_F(NoCompanions, DropDownAboutShowsTheErrorBoxAndKeepsRunning) {
  ShowsTheErrorBoxAndKeepsRunning(&ChooseFromDropDown, kAbout, L"Ошибка", kAboutMissing);
}

// ---- copies side by side ------------------------------------------------------------------

// The first copy starts without a settings file; the others come and go beside it, in the
// order of the tests.
class Copies : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Notepad = std::make_unique<TNotepad>();
    First = Started(L"first", "");
  }
  static void TearDownTestSuite() {
    Guarded.reset();
    Unguarded.reset();
    First.reset();
    Notepad.reset();
  }

  static inline std::unique_ptr<TNotepad> Notepad;
  static inline std::unique_ptr<TSharedProgram> First;
  static inline std::unique_ptr<TSharedProgram> Unguarded;
  static inline std::unique_ptr<TSharedProgram> Guarded;
};

TEST_F(Copies, FirstWithoutSettingsStartsMinimisedAndTypes26BitCards) {
  ASSERT_NE(Notepad->Edit(), nullptr) << "notepad did not come up";
  ASSERT_TRUE(First->StartedUp) << "the first copy did not start up; " << DescribeFront();
  const TLintavoInstance& first = First->Lintavo;
  EXPECT_TRUE(Minimised(first, first.MainWindow(0)));
  EXPECT_EQ(first.LabelTexts(), (std::vector<std::wstring>{kReaderTypeCaption, kComPortCaption,
                                                            L"26 bit", kPortOpen}));
  const TCard card{L"--card26 3430008", L"3430008"};
  EXPECT_EQ(e2e::TypedInNotepad(*Notepad, 2, card), card.Text + e2e::kSentinel.Text)
      << DescribeFront();
}

TEST_F(Copies, SecondGuardedCopyShowsTheNoticeAndEndsWhileTheFirstKeepsTyping) {
  ASSERT_TRUE(First->Lintavo.Running());
  TLintavoInstance second(L"second");
  const std::string ini = "[SETTINGS]\r\nRunOnlyOneCopy=1\r\nMinimizeOnRun=0\r\n";
  second.WriteIni(ini);
  ASSERT_TRUE(second.Start());
  const HWND notice = second.WaitForTopLevel(window_class::kMessageForm, nullptr, kLong);
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return !e2e::MessageFormText(notice).empty(); }, kLong));
  EXPECT_EQ(e2e::MessageFormText(notice),
            std::wstring(kApplicationTitle) + L"\r" + L"уже запущен на Вашем компьютере!");
  EXPECT_EQ(second.FindTopLevel(window_class::kMainForm), nullptr);
  ASSERT_TRUE(PressButton(notice, kButtonOK));
  EXPECT_NE(second.WaitForExit(kLong), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(second.ReadIni(), ini);
  // The ended copy brings the first copy's window up, restored and in front; notepad may be
  // asked for the front only once the first copy has done so. A message sent to it is
  // handled only after the handler that brings it up has returned.
  const HWND firstMain = First->Lintavo.MainWindow(0);
  const HWND application = First->Lintavo.FindTopLevel(window_class::kApplication);
  EXPECT_TRUE(WaitUntil(
      [&] {
        return IsWindowVisible(firstMain) && !IsIconic(application) &&
               GetForegroundWindow() == firstMain;
      },
      kLong))
      << DescribeFront();
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(firstMain, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kLong, &ignored);

  EXPECT_TRUE(First->Lintavo.Running());
  const TCard card{L"--card26 16777215", L"16777215"};
  EXPECT_EQ(e2e::TypedInNotepad(*Notepad, 2, card), card.Text + e2e::kSentinel.Text)
      << DescribeFront();
}

TEST_F(Copies, ACopyWithoutTheGuardStartsOnceTheFirstHasEnded) {
  TLintavoInstance& first = First->Lintavo;
  e2e::PostMenuCommand(first.MainWindow(0), IDM_FILE_EXIT);
  const HWND question = WaitForExitQuestion(first);
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(PressButton(question, kButtonYes));
  ASSERT_EQ(first.WaitForExit(kLong), 0u);

  Unguarded = Started(
      L"unguarded", "[SETTINGS]\r\nRunOnlyOneCopy=0\r\nMinimizeOnRun=0\r\nCheckExit=1\r\n");
  EXPECT_TRUE(Unguarded->StartedUp) << DescribeFront();
  EXPECT_EQ(Unguarded->Lintavo.FindTopLevel(window_class::kMessageForm), nullptr);
}

TEST_F(Copies, AGuardedCopyStartsBesideOneWithoutTheGuard) {
  ASSERT_TRUE(Unguarded && Unguarded->Lintavo.Running());
  Guarded = Started(
      L"guarded", "[SETTINGS]\r\nRunOnlyOneCopy=1\r\nMinimizeOnRun=0\r\nCheckExit=1\r\n");
  EXPECT_TRUE(Guarded->StartedUp) << DescribeFront();
  EXPECT_EQ(Guarded->Lintavo.FindTopLevel(window_class::kMessageForm), nullptr);
  EXPECT_TRUE(Unguarded->Lintavo.Running());
}

TEST_F(Copies, AnotherCopysQuestionDoesNotKeepThisCopyFromEnding) {
  ASSERT_TRUE(Unguarded && Guarded);
  TLintavoInstance& asking = Unguarded->Lintavo;
  TLintavoInstance& other = Guarded->Lintavo;
  e2e::PostMenuCommand(asking.MainWindow(0), IDM_FILE_EXIT);
  const HWND question = WaitForExitQuestion(asking);
  ASSERT_NE(question, nullptr);
  e2e::PostMenuCommand(other.MainWindow(0), IDM_FILE_EXIT);
  const HWND ownQuestion = WaitForExitQuestion(other);
  ASSERT_NE(ownQuestion, nullptr);
  ASSERT_TRUE(PressButton(ownQuestion, kButtonYes));
  EXPECT_EQ(other.WaitForExit(kLong), 0u);

  EXPECT_TRUE(IsWindow(question));
  EXPECT_TRUE(asking.Running());
  ASSERT_TRUE(PressButton(question, kButtonNo));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(question); }, kLong));
  EXPECT_TRUE(asking.Running());
}

}  // namespace
