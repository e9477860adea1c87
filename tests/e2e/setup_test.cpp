// The setup dialog of the real program, one launch for the area: opened from the main
// window's menu and worked from this process as an operator would; what changed is read back
// from the main window's labels, the settings file and the cards the reader types into
// notepad. The tests run in order on the one program: COM1 free, COM2 its port at start,
// COM3 absent. How the dialog lists, checks and closes is the dialog's own (the setup tests
// of the Windows floor); here the whole program acts on it.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/beside_notepad.h"
#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/notepad_card.h"
#include "tests/support/front_window.h"
#include "tests/support/notepad.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/setup_dialog_driver.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/main_window/resource_ids.h"
#include "ui/setup/setup_form.h"
#include "ui/setup/setup_form_win.h"
#include "ui/shell/texts.h"

namespace {

using e2e::TCard;

constexpr DWORD kWaitMs = 20'000;
// One frame that each reader type and format reads differently.
constexpr wchar_t kFrame[] = L"--raw 0012345678";
const TCard kAs26{kFrame, L"3430008"};
const TCard kAs40{kFrame, L"305419896"};
// The settings file as the program starts: the window stays up, the other four keys are
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

class SetupE2E : public e2e::TBesideNotepad<SetupE2E> {
 protected:
  static void SetUpTestSuite() { StartBesideNotepad(L"setup", kShownWindowIni, kWaitMs); }
  // Whatever a failed assertion left open is closed, so that the next test finds the
  // program at rest.
  void TearDown() override {
    if (Dialog != nullptr && IsWindow(Dialog)) {
      PostMessageW(Dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      WaitUntil([&] { return !IsWindow(Dialog); }, kWaitMs);
    }
  }

  // Chooses a menu entry as a click on it does, and waits until the filled dialog shows and
  // has taken the front.
  TSetupDialogDriver OpenSetup(int command) {
    Dialog = e2e::OpenSetupDialog(*Lintavo, command, kWaitMs);
    return TSetupDialogDriver(Dialog);
  }
  // Closes the dialog the way given, from the front, and waits until the front is back on
  // the main window.
  bool Close(TSetupDialogDriver& setup, void (*close)(TSetupDialogDriver&)) {
    if (GetForegroundWindow() != setup.Dialog && !BringToFront(setup.Dialog, nullptr))
      return false;
    close(setup);
    return WaitUntil([&] { return !IsWindow(setup.Dialog); }, kWaitMs) &&
           WaitForFront(Main, kWaitMs);
  }
  static void PressOk(TSetupDialogDriver& setup) { setup.Press(TSetupForm::kOkButtonId); }
  static void PressCancel(TSetupDialogDriver& setup) {
    setup.Press(TSetupForm::kCancelButtonId);
  }
  static void Escape(TSetupDialogDriver& setup) { setup.Escape(); }

  std::wstring ReaderTypeLabel() const { return Label(2); }
  std::wstring PortLabel() const { return Label(3); }
  bool WaitForPortLabel(const std::wstring& text) const {
    return Lintavo->WaitForPortLabel(text, kWaitMs);
  }
  // The port label's colour as drawn.
  LabelColour PortLabelColour() const {
    LabelColour colour = LabelColour::Neither;
    WaitUntil(
        [&] {
          const std::vector<HWND> labels = Lintavo->Labels();
          return labels.size() == 4 &&
                 (colour = ColourOnScreen(labels[3])) != LabelColour::Neither;
        },
        5000);
    return colour;
  }

  // A value from the settings file, or -1 when the key is not there.
  static int IniValue(const wchar_t* key, const wchar_t* section = L"SETTINGS") {
    return static_cast<int>(
        GetPrivateProfileIntW(section, key, -1, Lintavo->IniPath().wstring().c_str()));
  }

  static std::wstring Typed(int port, const TCard& card, const TCard& sentinel = e2e::kSentinel) {
    return e2e::TypedInNotepad(*Notepad, port, card, sentinel);
  }

  HWND Dialog = nullptr;

 private:
  std::wstring Label(std::size_t index) const {
    const auto texts = Lintavo->LabelTexts();
    return index < texts.size() ? texts[index] : L"";
  }
};

TEST_F(SetupE2E, ReaderEntryOpensThePortListWhileTheReaderKeepsTyping) {
  ASSERT_TRUE(WaitForPortLabel(L"COM2 - Порт открыт"));
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr) << "the setup dialog did not appear";
  EXPECT_TRUE(setup.Shows(TSetupForm::kPortListId));
  EXPECT_FALSE(setup.Shows(TSetupForm::kMinimizeId));
  ASSERT_EQ(setup.RowCount(), kListedPortCount);
  EXPECT_EQ(setup.RowText(1), L"COM 2 - занят сервером, норма");
  EXPECT_EQ(setup.CheckedPorts(), std::vector<int>{2});

  // The reader's own port was left alone by the probing and still delivers.
  EXPECT_EQ(Typed(2, kAs26), kAs26.Text + e2e::kSentinel.Text) << DescribeFront();
  ASSERT_TRUE(IsWindow(setup.Dialog));
  ASSERT_TRUE(Close(setup, &PressCancel)) << DescribeFront();
}

TEST_F(SetupE2E, ViewEntryOpensOnTheViewPage) {
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_VIEW);
  ASSERT_NE(setup.Dialog, nullptr) << "the setup dialog did not appear";
  EXPECT_TRUE(setup.Shows(TSetupForm::kMinimizeId));
  EXPECT_TRUE(setup.Shows(TSetupForm::kQuestionId));
  EXPECT_TRUE(setup.Shows(TSetupForm::kOneCopyId));
  EXPECT_FALSE(setup.Shows(TSetupForm::kPortListId));
  ASSERT_TRUE(Close(setup, &PressCancel)) << DescribeFront();
}

TEST_F(SetupE2E, EscapeStoresAndSavesNothing) {
  const std::string iniBefore = Lintavo->ReadIni();
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  setup.ToggleCheckBox(TSetupForm::kMinimizeId);
  setup.ChooseReaderType(1);
  setup.ClickRow(0);
  ASSERT_TRUE(Close(setup, &Escape)) << DescribeFront();

  EXPECT_EQ(Typed(2, kAs26), kAs26.Text + e2e::kSentinel.Text) << "the reader moved or changed";
  EXPECT_EQ(PortLabel(), L"COM2 - Порт открыт");
  EXPECT_EQ(ReaderTypeLabel(), L"26 bit");
  EXPECT_EQ(Lintavo->ReadIni(), iniBefore);
}

// A confirmed setup that left the output page alone writes no section of its own.
TEST_F(SetupE2E, ChangingOnlyTheReaderTypeKeepsThePortDecodesFortyBitsAndWritesNoOutputSection) {
  ASSERT_EQ(ReaderTypeLabel(), L"26 bit");
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  setup.ChooseReaderType(1);
  ASSERT_TRUE(Close(setup, &PressOk)) << DescribeFront();

  EXPECT_TRUE(WaitUntil([&] { return ReaderTypeLabel() == L"40/42 bit"; }, kWaitMs));
  // Confirming reopens the port; it shows as not open until the open answers.
  EXPECT_TRUE(WaitForPortLabel(L"COM2 - Порт открыт"))
      << "label: " << testing::PrintToString(PortLabel());
  EXPECT_EQ(Typed(2, kAs40), kAs40.Text + e2e::kSentinel.Text) << DescribeFront();
  ASSERT_TRUE(WaitUntil([&] { return IniValue(L"ReaderType") == 1; }, kWaitMs));
  EXPECT_EQ(IniValue(L"PortNumber"), 2);
  EXPECT_EQ(Lintavo->ReadIni().find("OUTPUT"), std::string::npos) << Lintavo->ReadIni();
}

TEST_F(SetupE2E, ChoosingCom1MovesTheReaderThereAndSavesAllFive) {
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  setup.ClickRow(0);
  EXPECT_EQ(setup.CheckedPorts(), std::vector<int>{1});
  ASSERT_TRUE(Close(setup, &PressOk)) << DescribeFront();

  ASSERT_TRUE(WaitForPortLabel(L"COM1 - Порт открыт"))
      << "label: " << testing::PrintToString(PortLabel());
  EXPECT_EQ(PortLabelColour(), LabelColour::Green);
  EXPECT_EQ(Typed(1, kAs40), kAs40.Text + e2e::kSentinel.Text) << DescribeFront();
  ASSERT_TRUE(WaitUntil([&] { return IniValue(L"PortNumber") == 1; }, kWaitMs));
  EXPECT_EQ(IniValue(L"MinimizeOnRun"), 0);
  EXPECT_EQ(IniValue(L"CheckExit"), 1);
  EXPECT_EQ(IniValue(L"RunOnlyOneCopy"), 1);
  EXPECT_EQ(IniValue(L"ReaderType"), 1);
}

// The frame on the 40/42-bit reader in facility,number form with Tab after it; the sentinel
// the same way.
TEST_F(SetupE2E, OutputEntryShowsTheOptionsStoresThemAndSavesTheSection) {
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_OUTPUT);
  ASSERT_NE(setup.Dialog, nullptr) << "the setup dialog did not appear";
  EXPECT_TRUE(setup.Shows(TSetupForm::kFormatId));
  EXPECT_TRUE(setup.Shows(TSetupForm::kSuffixId));
  EXPECT_TRUE(setup.Shows(TSetupForm::kNoCaretTypingId));
  EXPECT_FALSE(setup.Shows(TSetupForm::kPortListId));
  EXPECT_FALSE(setup.Shows(TSetupForm::kMinimizeId));
  EXPECT_EQ(setup.Chosen(TSetupForm::kFormatId), 0);
  EXPECT_EQ(setup.Chosen(TSetupForm::kSuffixId), 0);
  EXPECT_FALSE(setup.IsChecked(TSetupForm::kNoCaretTypingId));

  setup.Choose(TSetupForm::kFormatId, 1);
  setup.Choose(TSetupForm::kSuffixId, 2);
  setup.ToggleCheckBox(TSetupForm::kNoCaretTypingId);
  ASSERT_TRUE(Close(setup, &PressOk)) << DescribeFront();

  const TCard sentinel{e2e::kSentinel.CardsimArgs, L"000,00009\t"};
  const TCard card{kFrame, L"4660,22136\t"};
  EXPECT_EQ(Typed(1, card, sentinel), card.Text + sentinel.Text) << DescribeFront();
  ASSERT_TRUE(WaitUntil([&] { return IniValue(L"Format", L"OUTPUT") == 1; }, kWaitMs));
  EXPECT_EQ(IniValue(L"Suffix", L"OUTPUT"), 2);
  EXPECT_EQ(IniValue(L"NoCaretTyping", L"OUTPUT"), 1);
  EXPECT_EQ(IniValue(L"PortNumber"), 1);
}

TEST_F(SetupE2E, OutputPageHelpShowsTheOutputTopic) {
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_OUTPUT);
  ASSERT_NE(setup.Dialog, nullptr);
  setup.Press(TSetupForm::kHelpButtonId);
  const HWND viewer = Lintavo->WaitForTopLevel(window_class::kHelpViewer,
                                               L"Помощь: Вывод номера карты", kWaitMs);
  EXPECT_NE(viewer, nullptr) << "no help viewer on the output topic";
  if (viewer != nullptr) {
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(viewer); }, kWaitMs));
  }
  ASSERT_TRUE(IsWindow(setup.Dialog));
  ASSERT_TRUE(Close(setup, &PressCancel)) << DescribeFront();
}

TEST_F(SetupE2E, ChoosingAGreyedPortStoresItAndShowsItNotOpen) {
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  EXPECT_EQ(setup.RowText(2), L"COM 3 - порт занят или отсутствует");
  EXPECT_FALSE(setup.RowEnabled(2));
  setup.ClickRow(2);
  EXPECT_EQ(setup.CheckedPorts(), std::vector<int>{3});
  ASSERT_TRUE(Close(setup, &PressOk)) << DescribeFront();

  EXPECT_TRUE(WaitForPortLabel(L"COM3 - Порт не открыт"));
  EXPECT_EQ(PortLabelColour(), LabelColour::Red);
  EXPECT_TRUE(WaitUntil([&] { return IniValue(L"PortNumber") == 3; }, kWaitMs));
}

// Moving back to COM1 while the settings file cannot be written.
TEST_F(SetupE2E, AFailedSaveIsReportedAndTheNewSettingsStayInUse) {
  // A folder in the file's place: every write fails, even for root, for whom a read-only
  // file would still be writable.
  const std::wstring ini = Lintavo->IniPath().wstring();
  ASSERT_TRUE(DeleteFileW(ini.c_str()));
  ASSERT_TRUE(CreateDirectoryW(ini.c_str(), nullptr));
  TSetupDialogDriver setup = OpenSetup(IDM_SETUP_READER);
  ASSERT_NE(setup.Dialog, nullptr);
  setup.ClickRow(0);
  ASSERT_TRUE(BringToFront(setup.Dialog, nullptr)) << DescribeFront();
  setup.Press(TSetupForm::kOkButtonId);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(setup.Dialog); }, kWaitMs));

  const HWND box = Lintavo->WaitForTopLevel(window_class::kDialog, kApplicationTitle);
  ASSERT_NE(box, nullptr) << "no word of the failed save";
  EXPECT_TRUE(WaitUntil(
      [&] { return HasChildText(box, L"Unable to write to " + ini + L"."); }, kWaitMs));
  ASSERT_TRUE(WaitForFront(box, kWaitMs)) << DescribeFront();
  PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kWaitMs));
  ASSERT_TRUE(WaitForFront(Main, kWaitMs)) << DescribeFront();

  EXPECT_TRUE(Lintavo->Running());
  EXPECT_TRUE(WaitForPortLabel(L"COM1 - Порт открыт"));
  const TCard sentinel{e2e::kSentinel.CardsimArgs, L"000,00009\t"};
  const TCard card{kFrame, L"4660,22136\t"};
  EXPECT_EQ(Typed(1, card, sentinel), card.Text + sentinel.Text) << DescribeFront();
}

}  // namespace
