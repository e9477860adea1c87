// The setup dialog of the real program, opened from the main window's menu and worked from
// this process as an operator would; what changed is read back from the main window's
// labels, the settings file and the cards the reader types into notepad.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/support/cardsim.h"
#include "tests/support/notepad.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/setup_dialog_driver.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/main_window/resource_ids.h"
#include "ui/setup/setup_form.h"
#include "ui/setup/setup_form_win.h"
#include "ui/shell/texts.h"

namespace {

constexpr DWORD kWaitMs = 20'000;
constexpr DWORD kTypingMs = 10'000;
// One frame that each reader type reads differently.
constexpr wchar_t kFrame[] = L"--raw 0012345678";
constexpr wchar_t kFrameAs26[] = L"3430008";
constexpr wchar_t kFrameAs40[] = L"305419896";
// The settings file as the tests start it: the window stays up, the other four keys are
// left to the program's defaults so that saving has to write them.
constexpr char kShownWindowIni[] = "[SETTINGS]\r\nMinimizeOnRun=0\r\n";

enum class LabelColour { Green, Red, Neither };

// Which of the two state colours the text of a window shows on screen.
LabelColour ColourOnScreen(HWND label) {
  const TScreenPixels pixels = TScreenPixels::OfWindow(label);
  const int green = pixels.Count([](COLORREF pixel) { return pixel == RGB(0, 128, 0); });
  const int red = pixels.Count([](COLORREF pixel) { return pixel == RGB(255, 0, 0); });
  if (green > 0 && red == 0) return LabelColour::Green;
  if (red > 0 && green == 0) return LabelColour::Red;
  return LabelColour::Neither;
}

// One running program on its own folder and settings file, with notepad to type into.
class SetupE2ETest : public testing::Test {
 protected:
  void Launch(const std::string& ini = kShownWindowIni) {
    Lintavo.WriteIni(ini);
    ASSERT_TRUE(Lintavo.Start());
    ASSERT_NE(Lintavo.MainWindow(kWaitMs), nullptr) << "the main window did not appear";
    ASSERT_TRUE(WaitUntil([&] { return Lintavo.LabelTexts().size() == 4; }, kWaitMs));
  }

  // Chooses a menu entry as a click on it does, and waits until the filled dialog shows.
  TSetupDialogDriver OpenSetup(int command) {
    const HWND dialog = e2e::OpenSetupDialog(Lintavo, command, kWaitMs);
    Dialogs.push_back(dialog);
    return TSetupDialogDriver(dialog);
  }
  bool WaitClosed(const TSetupDialogDriver& setup) {
    return WaitUntil([&] { return !IsWindow(setup.Dialog); }, kWaitMs);
  }

  std::wstring ReaderTypeLabel() const { return Label(2); }
  std::wstring PortLabel() const { return Label(3); }
  bool WaitForPortLabel(const std::wstring& text) const {
    return Lintavo.WaitForPortLabel(text, kWaitMs);
  }
  // The port label's colour as drawn, with the main window brought to the front for it.
  LabelColour PortLabelColour() const {
    const HWND main = Lintavo.MainWindow(0);
    SetForegroundWindow(main);
    WaitUntil([&] { return GetForegroundWindow() == main; }, 5000);
    LabelColour colour = LabelColour::Neither;
    WaitUntil(
        [&] {
          RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
          const std::vector<HWND> labels = Lintavo.Labels();
          return labels.size() == 4 &&
                 (colour = ColourOnScreen(labels[3])) != LabelColour::Neither;
        },
        5000);
    return colour;
  }

  // A value from the settings file, or -1 when the key is not there.
  int IniValue(const wchar_t* key, const wchar_t* section = L"SETTINGS") const {
    return static_cast<int>(
        GetPrivateProfileIntW(section, key, -1, Lintavo.IniPath().wstring().c_str()));
  }

  // Writes one card on the far end of COMport and returns what notepad received. X delivers
  // focus changes late, so an activation left over from closing the dialog can take the
  // focus from notepad after it had it; a card written then is written once more.
  std::wstring TypeCard(int port, const std::wstring& expected) {
    std::wstring typed = L"<notepad has no caret>";
    for (int attempt = 0; attempt < 2; ++attempt) {
      if (!Notepad.Focus()) continue;
      Notepad.Clear();
      const std::wstring args = L"--port COM" + std::to_wstring(port + 200) + L" " + kFrame;
      if (RunCardsim(args) != 0) return L"<cardsim failed>";
      WaitUntil([&] { return Notepad.Text().size() >= expected.size(); }, kTypingMs);
      typed = Notepad.Text();
      if (typed == expected || GetForegroundWindow() == Notepad.Main()) break;
    }
    return typed;
  }

  // Whatever a failed assertion left open is closed before the program is ended.
  void TearDown() override {
    for (const HWND dialog : Dialogs) {
      if (IsWindow(dialog)) PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  }

  e2e::TLintavoInstance Lintavo{L"setup"};
  TNotepad Notepad;
  std::vector<HWND> Dialogs;

 private:
  std::wstring Label(std::size_t index) const {
    const auto texts = Lintavo.LabelTexts();
    return index < texts.size() ? texts[index] : L"";
  }
};

using SetupE2E = SetupE2ETest;
using PortFailedAtStart = SetupE2ETest;
using SetupOutputPage = SetupE2ETest;

TEST_F(SetupE2E, ReaderEntryListsThePortsWhileTheReaderKeepsTyping) {
  Launch();
  ASSERT_TRUE(WaitForPortLabel(L"COM2 - Порт открыт"));
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr) << "the setup dialog did not appear";

  EXPECT_TRUE(setup.Shows(TSetupForm::kPortListId));
  EXPECT_FALSE(setup.Shows(TSetupForm::kMinimizeId));
  ASSERT_EQ(setup.RowCount(), kListedPortCount);
  EXPECT_EQ(setup.RowText(0), L"COM 1");
  EXPECT_TRUE(setup.RowEnabled(0));
  EXPECT_EQ(setup.RowText(1), L"COM 2 - занят сервером, норма");
  EXPECT_TRUE(setup.RowEnabled(1));
  EXPECT_EQ(setup.RowText(2), L"COM 3 - порт занят или отсутствует");
  EXPECT_FALSE(setup.RowEnabled(2));
  // The rest are whatever this machine has; each must say what its state is.
  for (int row = 3; row < kListedPortCount; ++row) {
    const std::wstring name = L"COM " + std::to_wstring(row + 1);
    EXPECT_EQ(setup.RowText(row),
              setup.RowEnabled(row) ? name : name + L" - порт занят или отсутствует");
  }
  EXPECT_EQ(setup.CheckedPorts(), std::vector<int>{2});

  // The reader's own port was left alone by the probing and still delivers.
  EXPECT_EQ(TypeCard(2, kFrameAs26), kFrameAs26);
  ASSERT_TRUE(IsWindow(setup.Dialog));
  setup.Press(TSetupForm::kCancelButtonId);
  ASSERT_TRUE(WaitClosed(setup));
}

TEST_F(SetupE2E, ViewEntryOpensOnTheViewPage) {
  Launch();
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_VIEW);
  ASSERT_NE(setup.Dialog, nullptr) << "the setup dialog did not appear";
  EXPECT_TRUE(setup.Shows(TSetupForm::kMinimizeId));
  EXPECT_TRUE(setup.Shows(TSetupForm::kQuestionId));
  EXPECT_TRUE(setup.Shows(TSetupForm::kOneCopyId));
  EXPECT_FALSE(setup.Shows(TSetupForm::kPortListId));
  setup.Press(TSetupForm::kCancelButtonId);
  ASSERT_TRUE(WaitClosed(setup));
}

TEST_F(SetupE2E, ChoosingCom1MovesTheReaderThereAndSavesAllFive) {
  Launch();
  ASSERT_TRUE(WaitForPortLabel(L"COM2 - Порт открыт"));
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  setup.ClickRow(0);
  EXPECT_EQ(setup.CheckedPorts(), std::vector<int>{1});
  setup.Press(TSetupForm::kOkButtonId);
  ASSERT_TRUE(WaitClosed(setup));

  ASSERT_TRUE(WaitForPortLabel(L"COM1 - Порт открыт")) << "label: " << testing::PrintToString(PortLabel());
  EXPECT_EQ(PortLabelColour(), LabelColour::Green);
  EXPECT_EQ(TypeCard(1, kFrameAs26), kFrameAs26);
  ASSERT_TRUE(WaitUntil([&] { return IniValue(L"PortNumber") == 1; }, kWaitMs));
  EXPECT_EQ(IniValue(L"MinimizeOnRun"), 0);
  EXPECT_EQ(IniValue(L"CheckExit"), 1);
  EXPECT_EQ(IniValue(L"RunOnlyOneCopy"), 1);
  EXPECT_EQ(IniValue(L"ReaderType"), 0);
}

TEST_F(SetupE2E, ChangingOnlyTheReaderTypeKeepsThePortAndDecodesFortyBits) {
  Launch();
  ASSERT_TRUE(WaitForPortLabel(L"COM2 - Порт открыт"));
  ASSERT_EQ(ReaderTypeLabel(), L"26 bit");
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  setup.ChooseReaderType(1);
  setup.Press(TSetupForm::kOkButtonId);
  ASSERT_TRUE(WaitClosed(setup));

  EXPECT_TRUE(WaitUntil([&] { return ReaderTypeLabel() == L"40/42 bit"; }, kWaitMs));
  EXPECT_EQ(PortLabel(), L"COM2 - Порт открыт");
  EXPECT_EQ(TypeCard(2, kFrameAs40), kFrameAs40);
  EXPECT_TRUE(WaitUntil([&] { return IniValue(L"ReaderType") == 1; }, kWaitMs));
  EXPECT_EQ(IniValue(L"PortNumber"), 2);
}

TEST_F(SetupE2E, ChoosingAGreyedPortStoresItAndShowsItNotOpen) {
  Launch();
  ASSERT_TRUE(WaitForPortLabel(L"COM2 - Порт открыт"));
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  setup.ClickRow(2);
  EXPECT_EQ(setup.CheckedPorts(), std::vector<int>{3});
  setup.Press(TSetupForm::kOkButtonId);
  ASSERT_TRUE(WaitClosed(setup));

  EXPECT_TRUE(WaitForPortLabel(L"COM3 - Порт не открыт"));
  EXPECT_EQ(PortLabelColour(), LabelColour::Red);
  EXPECT_TRUE(WaitUntil([&] { return IniValue(L"PortNumber") == 3; }, kWaitMs));
}

TEST_F(SetupE2E, PortOutsideTheListShowsNoneCheckedAndStoresZero) {
  Launch("[SETTINGS]\r\nMinimizeOnRun=0\r\nPortNumber=255\r\n");
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  ASSERT_EQ(setup.RowCount(), kListedPortCount);
  EXPECT_TRUE(setup.CheckedPorts().empty());
  EXPECT_EQ(setup.RowText(1), L"COM 2") << "COM2 is free when the program holds COM255";
  setup.Press(TSetupForm::kOkButtonId);
  ASSERT_TRUE(WaitClosed(setup));

  EXPECT_TRUE(WaitForPortLabel(L"COM0 - Порт не открыт"));
  EXPECT_TRUE(WaitUntil([&] { return IniValue(L"PortNumber") == 0; }, kWaitMs));
}

TEST_F(PortFailedAtStart, ShowsItCheckedAndGreyedAndAWorkingChoiceTurnsTheLabelGreen) {
  Launch();
  ASSERT_TRUE(WaitForPortLabel(L"COM2 - Порт не открыт"));
  EXPECT_EQ(PortLabelColour(), LabelColour::Red);
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  EXPECT_EQ(setup.RowText(1), L"COM 2 - занят сервером, ошибка");
  EXPECT_TRUE(setup.RowChecked(1));
  EXPECT_FALSE(setup.RowEnabled(1));
  setup.ClickRow(0);
  setup.Press(TSetupForm::kOkButtonId);
  ASSERT_TRUE(WaitClosed(setup));

  ASSERT_TRUE(WaitForPortLabel(L"COM1 - Порт открыт"));
  EXPECT_EQ(PortLabelColour(), LabelColour::Green);
  EXPECT_EQ(TypeCard(1, kFrameAs26), kFrameAs26);
  EXPECT_TRUE(WaitUntil([&] { return IniValue(L"PortNumber") == 1; }, kWaitMs));
}

TEST_F(SetupE2E, AFailedSaveIsReportedAndTheNewSettingsStayInUse) {
  Launch();
  ASSERT_TRUE(WaitForPortLabel(L"COM2 - Порт открыт"));
  // A folder in the file's place once the settings are loaded: every write fails, even for
  // root, for whom a read-only file would still be writable.
  const std::wstring ini = Lintavo.IniPath().wstring();
  ASSERT_TRUE(DeleteFileW(ini.c_str()));
  ASSERT_TRUE(CreateDirectoryW(ini.c_str(), nullptr));
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  setup.ChooseReaderType(1);
  setup.Press(TSetupForm::kOkButtonId);
  ASSERT_TRUE(WaitClosed(setup));

  const HWND box = Lintavo.WaitForTopLevel(window_class::kDialog, kApplicationTitle);
  ASSERT_NE(box, nullptr) << "no word of the failed save";
  EXPECT_TRUE(WaitUntil(
      [&] { return HasChildText(box, L"Unable to write to " + ini + L"."); }, kWaitMs));
  PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kWaitMs));

  EXPECT_TRUE(Lintavo.Running());
  EXPECT_TRUE(WaitUntil([&] { return ReaderTypeLabel() == L"40/42 bit"; }, kWaitMs));
  EXPECT_EQ(TypeCard(2, kFrameAs40), kFrameAs40);
}

struct TCancelCase {
  const char* Name;
  void (*Close)(TSetupDialogDriver&);
};

class SetupE2ECancel : public SetupE2ETest, public testing::WithParamInterface<TCancelCase> {};

TEST_P(SetupE2ECancel, StoresAndSavesNothing) {
  Launch();
  ASSERT_TRUE(WaitForPortLabel(L"COM2 - Порт открыт"));
  const std::string iniBefore = Lintavo.ReadIni();
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  setup.ToggleCheckBox(TSetupForm::kMinimizeId);
  setup.ChooseReaderType(1);
  setup.ClickRow(0);
  GetParam().Close(setup);
  ASSERT_TRUE(WaitClosed(setup));

  EXPECT_EQ(TypeCard(2, kFrameAs26), kFrameAs26) << "the reader moved or changed type";
  EXPECT_EQ(PortLabel(), L"COM2 - Порт открыт");
  EXPECT_EQ(ReaderTypeLabel(), L"26 bit");
  EXPECT_EQ(Lintavo.ReadIni(), iniBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, SetupE2ECancel,
    testing::Values(
        TCancelCase{"CancelButton",
                    [](TSetupDialogDriver& s) { s.Press(TSetupForm::kCancelButtonId); }},
        TCancelCase{"Escape", [](TSetupDialogDriver& s) { s.Escape(); }},
        TCancelCase{"CloseBox", [](TSetupDialogDriver& s) { s.CloseBox(); }}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- the output page ---------------------------------------------------------------------

TEST_F(SetupOutputPage, ShowsTheOptionsStoresThemAndSavesTheSection) {
  Launch(std::string(kShownWindowIni) + "[OUTPUT]\r\nFormat=2\r\n");
  ASSERT_TRUE(WaitForPortLabel(L"COM2 - Порт открыт"));
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_OUTPUT);
  ASSERT_NE(setup.Dialog, nullptr) << "the setup dialog did not appear";
  EXPECT_TRUE(setup.Shows(TSetupForm::kFormatId));
  EXPECT_TRUE(setup.Shows(TSetupForm::kSuffixId));
  EXPECT_TRUE(setup.Shows(TSetupForm::kNoCaretTypingId));
  EXPECT_FALSE(setup.Shows(TSetupForm::kPortListId));
  EXPECT_FALSE(setup.Shows(TSetupForm::kMinimizeId));
  EXPECT_EQ(setup.Chosen(TSetupForm::kFormatId), 2);
  EXPECT_EQ(setup.Chosen(TSetupForm::kSuffixId), 0);
  EXPECT_FALSE(setup.IsChecked(TSetupForm::kNoCaretTypingId));

  setup.Choose(TSetupForm::kFormatId, 1);
  setup.Choose(TSetupForm::kSuffixId, 2);
  setup.ToggleCheckBox(TSetupForm::kNoCaretTypingId);
  setup.Press(TSetupForm::kOkButtonId);
  ASSERT_TRUE(WaitClosed(setup));

  EXPECT_EQ(TypeCard(2, L"052,22136\t"), L"052,22136\t");
  ASSERT_TRUE(WaitUntil([&] { return IniValue(L"Format", L"OUTPUT") == 1; }, kWaitMs));
  EXPECT_EQ(IniValue(L"Suffix", L"OUTPUT"), 2);
  EXPECT_EQ(IniValue(L"NoCaretTyping", L"OUTPUT"), 1);
  EXPECT_EQ(IniValue(L"PortNumber"), 2);
}

TEST_F(SetupOutputPage, AConfirmedSetupThatLeftItAloneWritesNoSectionAndTypesAsEver) {
  Launch();
  ASSERT_TRUE(WaitForPortLabel(L"COM2 - Порт открыт"));
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  setup.ChooseReaderType(1);
  setup.Press(TSetupForm::kOkButtonId);
  ASSERT_TRUE(WaitClosed(setup));

  ASSERT_TRUE(WaitUntil([&] { return IniValue(L"ReaderType") == 1; }, kWaitMs));
  EXPECT_EQ(Lintavo.ReadIni().find("OUTPUT"), std::string::npos) << Lintavo.ReadIni();
  EXPECT_EQ(TypeCard(2, kFrameAs40), kFrameAs40);
}

TEST_F(SetupOutputPage, HelpShowsTheOutputTopic) {
  Launch();
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_OUTPUT);
  ASSERT_NE(setup.Dialog, nullptr);
  setup.Press(TSetupForm::kHelpButtonId);
  EXPECT_NE(Lintavo.WaitForTopLevel(L"QvmHelpViewer", L"Помощь: Вывод номера карты"), nullptr)
      << "no help viewer on the output topic";
  ASSERT_TRUE(IsWindow(setup.Dialog));
  setup.Press(TSetupForm::kCancelButtonId);
  ASSERT_TRUE(WaitClosed(setup));
}

}  // namespace
