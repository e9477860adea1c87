#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/support/cardsim.h"
#include "tests/support/dialog_buttons.h"
#include "tests/support/notepad.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/thread_facts.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/main_window/resource_ids.h"
#include "ui/shell/texts.h"

namespace {

using e2e::TLintavoInstance;

constexpr wchar_t kPortOpen[] = L"COM2 - Порт открыт";
constexpr wchar_t kPortNotOpen[] = L"COM2 - Порт не открыт";
constexpr COLORREF kDarkGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr DWORD kLong = 15'000;

// Whether the label as the screen shows it has any pixel of the colour.
bool ShowsColour(HWND label, COLORREF colour) {
  return TScreenPixels::OfWindow(label).Shows(colour);
}

bool Minimised(const TLintavoInstance& lintavo, HWND main) {
  const HWND application = lintavo.FindTopLevel(window_class::kApplication);
  return application != nullptr && IsIconic(application) && !IsWindowVisible(main);
}

// Presents a card on the reader line and waits for notepad to show what was typed.
std::wstring TypeCard(const TNotepad& notepad, const std::wstring& cardsimArgs, size_t length) {
  notepad.Clear();
  if (!notepad.Focus()) return L"<notepad has no focus>";
  if (RunCardsim(L"--port COM202 " + cardsimArgs) != 0) return L"<cardsim failed>";
  WaitUntil([&] { return notepad.Text().size() >= length; }, kLong);
  return notepad.Text();
}

HWND WaitForExitQuestion(const TLintavoInstance& lintavo) {
  return lintavo.WaitForTopLevel(window_class::kMessageForm, kCaptionExit, kLong);
}

// --- start-up with a free COM2 -------------------------------------------------------------

struct TStartCase {
  const char* Name;
  const char* Ini;  // nullptr: no settings file at all
  const wchar_t* ReaderType;
  const wchar_t* CardsimArgs;
  const wchar_t* Typed;
};

class FreePortStart : public testing::TestWithParam<TStartCase> {};

TEST_P(FreePortStart, MinimisesShowsStateAndTypesCards) {
  const TStartCase& c = GetParam();
  TNotepad notepad;
  ASSERT_NE(notepad.Edit(), nullptr);
  TLintavoInstance lintavo(L"start");
  if (c.Ini != nullptr) lintavo.WriteIni(c.Ini);
  ASSERT_TRUE(lintavo.Start());
  const HWND main = lintavo.MainWindow(kLong);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return Minimised(lintavo, main); }, kLong));
  ASSERT_TRUE(lintavo.WaitForPortLabel(kPortOpen, kLong));
  EXPECT_EQ(lintavo.LabelTexts()[2], c.ReaderType);
  const std::wstring typed = c.Typed;
  EXPECT_EQ(TypeCard(notepad, c.CardsimArgs, typed.size()), typed);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FreePortStart,
    testing::Values(
        TStartCase{"NoIniReads26BitCards", nullptr, L"26 bit", L"--card26 3430008", L"3430008"},
        TStartCase{"ReaderType1Reads40BitCards", "[SETTINGS]\r\nReaderType=1\r\n", L"40/42 bit",
                   L"--card40 1099511627775", L"1099511627775"}),
    [](const auto& info) { return std::string(info.param.Name); });

// The port label's colour, read off the screen with the window left in view.
TEST(PortColour, OpenPortIsDarkGreen) {
  TLintavoInstance lintavo(L"green");
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\n");
  ASSERT_TRUE(lintavo.Start());
  const HWND main = lintavo.MainWindow(kLong);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(lintavo.WaitForPortLabel(kPortOpen, kLong));
  const HWND label = ChildWithText(main, kPortOpen);
  SetForegroundWindow(main);
  EXPECT_TRUE(WaitUntil([&] { return ShowsColour(label, kDarkGreen); }, kLong));
  EXPECT_FALSE(ShowsColour(label, kRed));
}

// --- start-up with COM2 failing (run with COM2 absent and with COM2 leading nowhere) --------

TEST(PortFailed, ShowsPortNotOpenInRedAndKeepsRunning) {
  TLintavoInstance lintavo(L"failed");
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\n");
  ASSERT_TRUE(lintavo.Start());
  const HWND main = lintavo.MainWindow(kLong);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(lintavo.WaitForPortLabel(kPortNotOpen, kLong));
  EXPECT_EQ(lintavo.LabelTexts()[2], L"26 bit");
  const HWND label = ChildWithText(main, kPortNotOpen);
  SetForegroundWindow(main);
  EXPECT_TRUE(WaitUntil([&] { return ShowsColour(label, kRed); }, kLong));
  EXPECT_FALSE(ShowsColour(label, kDarkGreen));
  EXPECT_TRUE(lintavo.Running());
}

// Run with COM2 leading nowhere and a free COM3: the same program on COM3 runs exactly one
// thread more, its reader.
TEST(PortFailedBesideOpen, NoReaderThreadRuns) {
  TLintavoInstance open(L"reader on COM3");
  open.WriteIni("[SETTINGS]\r\nRunOnlyOneCopy=0\r\nPortNumber=3\r\n");
  TLintavoInstance failed(L"no reader");
  failed.WriteIni("[SETTINGS]\r\nRunOnlyOneCopy=0\r\n");
  for (TLintavoInstance* lintavo : {&open, &failed}) {
    ASSERT_TRUE(lintavo->Start());
    const HWND main = lintavo->MainWindow(kLong);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Minimised(*lintavo, main); }, kLong));
  }
  ASSERT_TRUE(open.WaitForPortLabel(L"COM3 - Порт открыт", kLong));
  ASSERT_TRUE(failed.WaitForPortLabel(kPortNotOpen, kLong));
  int openThreads = 0;
  EXPECT_TRUE(WaitUntil(
      [&] {
        openThreads = ThreadCount(open.ProcessId());
        return openThreads == ThreadCount(failed.ProcessId()) + 1;
      },
      kLong))
      << openThreads << " threads with the port open, "
      << ThreadCount(failed.ProcessId()) << " with it failed";
}

// --- single-copy guard ---------------------------------------------------------------------

TEST(SingleCopy, SecondCopyShowsNoticeAndEndsWhileFirstKeepsTyping) {
  TNotepad notepad;
  ASSERT_NE(notepad.Edit(), nullptr);
  TLintavoInstance first(L"first");
  ASSERT_TRUE(first.Start());
  ASSERT_NE(first.MainWindow(kLong), nullptr);
  ASSERT_TRUE(first.WaitForPortLabel(kPortOpen, kLong));

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

  EXPECT_TRUE(first.Running());
  // The second start brings the first copy's window to the front; only then may notepad
  // take it.
  const HWND firstMain = first.MainWindow(0);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == firstMain; }, kLong));
  EXPECT_EQ(TypeCard(notepad, L"--card26 16777215", 8), L"16777215");
}

TEST(SingleCopy, FirstCopyWithoutGuardLetsAGuardedCopyRun) {
  TLintavoInstance first(L"unguarded");
  first.WriteIni("[SETTINGS]\r\nRunOnlyOneCopy=0\r\n");
  ASSERT_TRUE(first.Start());
  ASSERT_NE(first.MainWindow(kLong), nullptr);

  TLintavoInstance second(L"guarded");
  second.WriteIni("[SETTINGS]\r\nRunOnlyOneCopy=1\r\n");
  ASSERT_TRUE(second.Start());
  EXPECT_NE(second.MainWindow(kLong), nullptr);
  EXPECT_EQ(second.FindTopLevel(window_class::kMessageForm), nullptr);
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(second.Running());
}

TEST(SingleCopy, NewCopyStartsNormallyAfterTheFirstEnded) {
  TLintavoInstance first(L"ended");
  first.WriteIni("[SETTINGS]\r\nCheckExit=0\r\n");
  ASSERT_TRUE(first.Start());
  const HWND main = first.MainWindow(kLong);
  ASSERT_NE(main, nullptr);
  e2e::PostMenuCommand(main, IDM_FILE_EXIT);
  ASSERT_NE(first.WaitForExit(kLong), static_cast<DWORD>(STILL_ACTIVE));

  TLintavoInstance next(L"next");
  ASSERT_TRUE(next.Start());
  EXPECT_NE(next.MainWindow(kLong), nullptr);
  EXPECT_EQ(next.FindTopLevel(window_class::kMessageForm), nullptr);
  EXPECT_TRUE(next.Running());
}

// --- exit ----------------------------------------------------------------------------------

TEST(Exit, QuestionNoKeepsRunningRepeatBringsItForwardYesEnds) {
  TNotepad notepad;  // something else to hold the front while the question waits
  TLintavoInstance lintavo(L"exit");
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=1\r\n");
  ASSERT_TRUE(lintavo.Start());
  const HWND main = lintavo.MainWindow(kLong);
  ASSERT_NE(main, nullptr);

  e2e::PostMenuCommand(main, IDM_FILE_EXIT);
  HWND question = WaitForExitQuestion(lintavo);
  ASSERT_NE(question, nullptr);
  EXPECT_TRUE(WaitUntil(
      [&] { return e2e::MessageFormText(question) == L"Завершить работу программы?"; }, kLong));
  ASSERT_TRUE(PressButton(question, kButtonNo));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(question); }, kLong));
  EXPECT_TRUE(lintavo.Running());

  e2e::PostToolBarClick(main, e2e::ToolButton::Exit);
  question = WaitForExitQuestion(lintavo);
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(notepad.Focus());
  e2e::PostMenuCommand(main, IDM_FILE_EXIT);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == question; }, kLong));
  EXPECT_EQ(VisibleTopLevels(window_class::kMessageForm).size(), 1u);

  ASSERT_TRUE(PressButton(question, kButtonYes));
  EXPECT_EQ(lintavo.WaitForExit(kLong), 0u);
}

struct TExitWay {
  const char* Name;
  bool Toolbar;
};

class ExitWithoutQuestion : public testing::TestWithParam<TExitWay> {};

TEST_P(ExitWithoutQuestion, EndsAtOnce) {
  TLintavoInstance lintavo(L"quick exit");
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=0\r\n");
  ASSERT_TRUE(lintavo.Start());
  const HWND main = lintavo.MainWindow(kLong);
  ASSERT_NE(main, nullptr);
  if (GetParam().Toolbar)
    e2e::PostToolBarClick(main, e2e::ToolButton::Exit);
  else
    e2e::PostMenuCommand(main, IDM_FILE_EXIT);
  EXPECT_EQ(lintavo.WaitForExit(kLong), 0u);
  EXPECT_EQ(lintavo.FindTopLevel(window_class::kMessageForm), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Rows, ExitWithoutQuestion,
                         testing::Values(TExitWay{"FromMenu", false}, TExitWay{"FromToolBar", true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Exit, AnotherCopysQuestionDoesNotKeepThisCopyFromEnding) {
  const std::string ini = "[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=1\r\nRunOnlyOneCopy=0\r\n";
  TLintavoInstance asking(L"asking");
  asking.WriteIni(ini);
  ASSERT_TRUE(asking.Start());
  const HWND askingMain = asking.MainWindow(kLong);
  ASSERT_NE(askingMain, nullptr);
  TLintavoInstance other(L"other");
  other.WriteIni(ini);
  ASSERT_TRUE(other.Start());
  const HWND otherMain = other.MainWindow(kLong);
  ASSERT_NE(otherMain, nullptr);

  e2e::PostMenuCommand(askingMain, IDM_FILE_EXIT);
  const HWND question = WaitForExitQuestion(asking);
  ASSERT_NE(question, nullptr);
  e2e::PostMenuCommand(otherMain, IDM_FILE_EXIT);
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

// --- help and about ------------------------------------------------------------------------

struct THelpCase {
  const char* Name;
  bool FromDropDown;
  int Command;  // main-menu id
  int Downs;    // key presses down to the same entry in the drop-down
  const wchar_t* WindowClass;
  const wchar_t* CaptionStart;
};

class HelpAndAbout : public testing::TestWithParam<THelpCase> {};

void Choose(HWND main, const TLintavoInstance& lintavo, const THelpCase& c) {
  if (!c.FromDropDown) {
    e2e::PostMenuCommand(main, c.Command);
    return;
  }
  e2e::PostToolBarPress(main, e2e::ToolButtonLeft(main, e2e::ToolButton::Help) + 20);
  const HWND popup = lintavo.WaitForTopLevel(window_class::kPopupMenu, nullptr, kLong);
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(popup) != FALSE; }, kLong));
  e2e::ChooseFromPopup(popup, c.Downs);
}

HWND WaitForWindowStarting(const TLintavoInstance& lintavo, const wchar_t* cls,
                           const std::wstring& start) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : TopLevelWindowsOfProcess(lintavo.ProcessId()))
          if (ClassName(w) == cls && WindowText(w).rfind(start, 0) == 0) found = w;
        return found != nullptr;
      },
      kLong);
  return found;
}

TEST_P(HelpAndAbout, ReachesTheCompanionLibrary) {
  const THelpCase& c = GetParam();
  TLintavoInstance lintavo(L"help");
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\n");
  ASSERT_TRUE(lintavo.Start());
  const HWND main = lintavo.MainWindow(kLong);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(lintavo.WaitForPortLabel(kPortOpen, kLong));
  Choose(main, lintavo, c);
  const HWND shown = WaitForWindowStarting(lintavo, c.WindowClass, c.CaptionStart);
  ASSERT_NE(shown, nullptr);
  PostMessageW(shown, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(shown); }, kLong));
  EXPECT_TRUE(lintavo.Running());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HelpAndAbout,
    testing::Values(
        THelpCase{"MenuMainWindowHelp", false, IDM_HELP_MAINWINDOW, 0, window_class::kHelpViewer,
                  L"Помощь: "},
        THelpCase{"MenuHelpContents", false, IDM_HELP_CONTENTS, 0, window_class::kHelpViewer,
                  L"Помощь: "},
        THelpCase{"MenuAbout", false, IDM_HELP_ABOUT, 0, window_class::kDialog, L"О программе"},
        THelpCase{"DropDownMainWindowHelp", true, 0, 1, window_class::kHelpViewer, L"Помощь: "},
        THelpCase{"DropDownHelpContents", true, 0, 2, window_class::kHelpViewer, L"Помощь: "},
        THelpCase{"DropDownAbout", true, 0, 3, window_class::kDialog, L"О программе"}),
    [](const auto& info) { return std::string(info.param.Name); });

constexpr wchar_t kHelpMissing[] =
    L"Библиотека для работы с документацией/помощью (qvm_help.dll)\rне загружена!";
constexpr wchar_t kAboutMissing[] = L"Не удалось загрузить библиотеку about.dll";

class CompanionsMissing : public testing::TestWithParam<THelpCase> {};

// Here CaptionStart is the error box's caption and WindowClass its text.
TEST_P(CompanionsMissing, ShowTheErrorBoxAndKeepRunning) {
  const THelpCase& c = GetParam();
  TLintavoInstance lintavo(L"no companions");
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\n");
  lintavo.RemoveFile(L"qvm_help.dll");
  lintavo.RemoveFile(L"about.dll");
  ASSERT_TRUE(lintavo.Start());
  const HWND main = lintavo.MainWindow(kLong);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(lintavo.WaitForPortLabel(kPortOpen, kLong));
  Choose(main, lintavo, c);
  const HWND box = lintavo.WaitForTopLevel(window_class::kDialog, c.CaptionStart, kLong);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return HasChildText(box, c.WindowClass); }, kLong));
  PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kLong));
  EXPECT_TRUE(lintavo.Running());
  EXPECT_EQ(lintavo.MainWindow(0), main);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CompanionsMissing,
    testing::Values(
        THelpCase{"MenuMainWindowHelp", false, IDM_HELP_MAINWINDOW, 0, kHelpMissing, L"Помощь"},
        THelpCase{"MenuHelpContents", false, IDM_HELP_CONTENTS, 0, kHelpMissing, L"Помощь"},
        THelpCase{"MenuAbout", false, IDM_HELP_ABOUT, 0, kAboutMissing, L"Ошибка"},
        THelpCase{"DropDownHelpContents", true, 0, 2, kHelpMissing, L"Помощь"},
        THelpCase{"DropDownAbout", true, 0, 3, kAboutMissing, L"Ошибка"}),
    [](const auto& info) { return std::string(info.param.Name); });

// --- size and toolbar layout ---------------------------------------------------------------

SIZE OuterSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

TEST(Size, CannotBeMadeSmallerThanDesignedAndHasNoMaximise) {
  TLintavoInstance lintavo(L"size");
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\n");
  ASSERT_TRUE(lintavo.Start());
  const HWND main = lintavo.MainWindow(kLong);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(GetWindowLongW(main, GWL_STYLE) & WS_MAXIMIZEBOX, 0);
  SetWindowPos(main, nullptr, 0, 0, 100, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const SIZE size = OuterSize(main);
  EXPECT_EQ(size.cx, 341);
  EXPECT_EQ(size.cy, 200);
}

// A press at x in the widened window's toolbar: which button, if any, takes it.
struct TEdgeCase {
  const char* Name;
  int FromRight;  // x = outer width - FromRight
  enum { Nothing, ExitQuestion, HelpDropDown } Effect;
};

class WidenedToolBar : public testing::TestWithParam<TEdgeCase> {};

TEST_P(WidenedToolBar, ButtonsStayAtTheRightEdge) {
  const TEdgeCase& c = GetParam();
  TLintavoInstance lintavo(L"wide");
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=1\r\n");
  ASSERT_TRUE(lintavo.Start());
  const HWND main = lintavo.MainWindow(kLong);
  ASSERT_NE(main, nullptr);
  SetWindowPos(main, nullptr, 0, 0, 600, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(OuterSize(main).cx, 600);
  SetForegroundWindow(main);
  const int x = 600 - c.FromRight;
  if (c.Effect == TEdgeCase::HelpDropDown) {
    e2e::PostToolBarPress(main, x);
    const HWND popup = lintavo.WaitForTopLevel(window_class::kPopupMenu, nullptr, kLong);
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(popup) != FALSE; }, kLong));
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(popup); }, kLong));
    return;
  }
  e2e::PostToolBarClick(main, x);
  const bool asked =
      lintavo.WaitForTopLevel(window_class::kMessageForm, kCaptionExit,
                              c.Effect == TEdgeCase::ExitQuestion ? kLong : 1500) != nullptr;
  EXPECT_EQ(asked, c.Effect == TEdgeCase::ExitQuestion);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WidenedToolBar,
    testing::Values(TEdgeCase{"ExitLastPixelIsElevenFromTheEdge", 11, TEdgeCase::ExitQuestion},
                    TEdgeCase{"TenPixelsFromTheEdgeIsNoButton", 10, TEdgeCase::Nothing},
                    TEdgeCase{"ExitFirstPixel", 74, TEdgeCase::ExitQuestion},
                    TEdgeCase{"HelpLastPixelJustLeftOfExit", 75, TEdgeCase::HelpDropDown},
                    TEdgeCase{"HelpFirstPixel", 138, TEdgeCase::HelpDropDown}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
