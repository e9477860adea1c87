// The output options in the real program, set in its settings file: each number format and
// key as Wine's notepad receives them, Enter and Tab in another program's form, the exact
// messages a window with a caret receives, and typing into a window without one.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/output_form_ids.h"
#include "tests/support/cardsim.h"
#include "tests/support/front_window.h"
#include "tests/support/child_process.h"
#include "tests/support/notepad.h"
#include "tests/support/test_paths.h"
#include "tests/support/thread_facts.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/typing_target_window.h"
#include "tests/support/wait.h"
#include "ui/main_window/resource_ids.h"
#include "ui/setup/setup_form_win.h"

namespace {

constexpr DWORD kWaitMs = 20'000;
constexpr DWORD kTypingMs = 5'000;
// Long enough for several polls: a character still to come, such as a second new line,
// would have arrived.
constexpr DWORD kSettleMs = 500;

// One frame that every format reads differently: 0x12345678 on the 40/42-bit reader,
// 0x345678 on the 26-bit one.
constexpr wchar_t kFrame[] = L"--raw 0012345678";
constexpr wchar_t kFrameAs26[] = L"3430008";
constexpr wchar_t kOtherFrame[] = L"--raw 0000000007";

// The main window stays up: the reader starts at its first activation.
constexpr char kShown[] = "[SETTINGS]\r\nMinimizeOnRun=0\r\n";

bool PresentCard(const wchar_t* frame) {
  return RunCardsim(std::wstring(L"--port COM202 ") + frame) == 0;
}

class OutputE2E : public testing::Test {
 protected:
  // Starts the program and waits until its reader runs: the port open and the main window
  // activated once, before a target takes the front.
  void Launch(const std::string& ini) {
    Lintavo.WriteIni(ini);
    ASSERT_TRUE(Lintavo.Start());
    const HWND main = Lintavo.MainWindow(kWaitMs);
    ASSERT_NE(main, nullptr) << "the main window did not appear";
    ASSERT_TRUE(WaitUntil(
        [&] {
          const auto texts = Lintavo.LabelTexts();
          return texts.size() == 4 && texts[3] == L"COM2 - Порт открыт";
        },
        kWaitMs));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, kWaitMs))
        << "the main window was never activated";
    // The activation starts the reader a moment later; its thread joins the GUI thread.
    ASSERT_TRUE(WaitUntil([&] { return ThreadCount(Lintavo.ProcessId()) >= 2; }, kWaitMs))
        << "no reader thread";
  }

  // Brings the target to the front and presents a card until what it should do arrived.
  // X delivers focus changes late, and one still on its way can take the front from the
  // target after it had it; a card presented then goes nowhere and is presented again. A
  // target that kept the front gets no second card.
  template <typename Focus, typename Arrived>
  bool PresentCardTo(HWND target, Focus focus, Arrived arrived, const wchar_t* frame = kFrame) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (!focus()) continue;
      if (!PresentCard(frame)) return false;
      if (WaitUntil(arrived, kTypingMs)) return true;
      if (GetForegroundWindow() == target) return false;
    }
    return false;
  }

  e2e::TLintavoInstance Lintavo{L"output"};
};

// ---- each format and key in notepad ------------------------------------------------------

struct TNotepadCase {
  const char* Name;
  const char* Output;  // the settings file's lines after kShown
  const wchar_t* Typed;
};

class OutputInNotepad : public OutputE2E, public testing::WithParamInterface<TNotepadCase> {
 protected:
  TNotepad Notepad;
};

TEST_P(OutputInNotepad, ArrivesAsTheOperatorChoseIt) {
  const TNotepadCase& c = GetParam();
  ASSERT_NE(Notepad.Edit(), nullptr) << "notepad did not come up";
  Launch(std::string(kShown) + c.Output);
  const std::size_t length = std::wcslen(c.Typed);
  EXPECT_TRUE(PresentCardTo(
      Notepad.Main(), [&] { return Notepad.Focus(); },
      [&] { return Notepad.Text().size() >= length; }));
  Sleep(kSettleMs);
  EXPECT_EQ(Notepad.Text(), c.Typed);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutputInNotepad,
    testing::Values(
        TNotepadCase{"NoOutputSectionTypesTheDigitsAsEver", "", kFrameAs26},
        TNotepadCase{"FacilityNumber26", "[OUTPUT]\r\nFormat=1\r\n", L"052,22136"},
        TNotepadCase{"FacilityNumber40KeepsTheHighBits", "ReaderType=1\r\n[OUTPUT]\r\nFormat=1\r\n",
                     L"4660,22136"},
        TNotepadCase{"Hexadecimal26", "[OUTPUT]\r\nFormat=2\r\n", L"345678"},
        TNotepadCase{"Hexadecimal40", "ReaderType=1\r\n[OUTPUT]\r\nFormat=2\r\n", L"0012345678"},
        TNotepadCase{"EnterIsOneNewLine", "[OUTPUT]\r\nSuffix=1\r\n", L"3430008\r\n"},
        TNotepadCase{"TabIsOneTab", "[OUTPUT]\r\nFormat=1\r\nSuffix=2\r\n", L"052,22136\t"}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- Enter and Tab in another program's form ---------------------------------------------

// output_form in its own process; the process ends with the object.
class TOutputForm {
 public:
  TOutputForm() : Process_(L"\"" + (TestProgramDir() / L"output_form.exe").wstring() + L"\"") {
    WaitUntil(
        [&] {
          const auto windows = TopLevelWindowsOfProcess(Process_.ProcessId());
          Dialog_ = windows.empty() ? nullptr : windows.front();
          return Dialog_ != nullptr && Field(IDC_PRESSES) != nullptr;
        },
        kWaitMs);
  }

  HWND Dialog() const { return Dialog_; }
  HWND Field(int id) const { return GetDlgItem(Dialog_, id); }
  std::wstring Text(int id) const {
    wchar_t text[256] = L"";
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(Field(id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &ignored);
    return text;
  }
  bool CaretIn(int id) const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(Dialog_, nullptr), &info) &&
           info.hwndCaret == Field(id);
  }
  bool FocusField(int id) const { return BringToFront(Dialog_, Field(id)); }

 private:
  TChildProcess Process_;
  HWND Dialog_ = nullptr;
};

class OutputInAForm : public OutputE2E {
 protected:
  void SetUp() override { ASSERT_NE(Form.Dialog(), nullptr) << "output_form did not come up"; }

  TOutputForm Form;
};

TEST_F(OutputInAForm, EnterAfterTheNumberPressesTheDefaultButtonOnce) {
  Launch(std::string(kShown) + "[OUTPUT]\r\nSuffix=1\r\n");
  EXPECT_TRUE(PresentCardTo(
      Form.Dialog(), [&] { return Form.FocusField(IDC_FIRST_FIELD); },
      [&] { return Form.Text(IDC_PRESSES) == L"1: 3430008"; }))
      << "pressed: " << testing::PrintToString(Form.Text(IDC_PRESSES));
  Sleep(kSettleMs);
  EXPECT_EQ(Form.Text(IDC_PRESSES), L"1: 3430008");
  EXPECT_EQ(Form.Text(IDC_FIRST_FIELD), kFrameAs26);
  EXPECT_EQ(Form.Text(IDC_SECOND_FIELD), L"");
}

TEST_F(OutputInAForm, TabAfterTheNumberMovesToTheNextField) {
  Launch(std::string(kShown) + "[OUTPUT]\r\nSuffix=2\r\n");
  ASSERT_TRUE(PresentCardTo(
      Form.Dialog(), [&] { return Form.FocusField(IDC_FIRST_FIELD); },
      [&] { return Form.Text(IDC_FIRST_FIELD) == kFrameAs26 && Form.CaretIn(IDC_SECOND_FIELD); }))
      << "first field: " << testing::PrintToString(Form.Text(IDC_FIRST_FIELD));
  EXPECT_TRUE(PresentCardTo(
      Form.Dialog(), [&] { return Form.FocusField(IDC_SECOND_FIELD); },
      [&] { return Form.Text(IDC_SECOND_FIELD) == L"7"; }, kOtherFrame));
  Sleep(kSettleMs);
  EXPECT_EQ(Form.Text(IDC_FIRST_FIELD), kFrameAs26);
  EXPECT_EQ(Form.Text(IDC_PRESSES), L"") << "Tab pressed the default button";
}

// ---- what a window with a caret receives, message for message ----------------------------

using TKeyMessage = TTypingTargetWindow::TKeyMessage;

std::vector<TKeyMessage> DigitMessages(const std::wstring& digits) {
  std::vector<TKeyMessage> messages;
  for (wchar_t digit : digits) messages.push_back({WM_CHAR, digit, 0});
  return messages;
}

// A press of the real key as the window's own loop sees it: the key-down and key-up, which
// come queued together, then the character its TranslateMessage made of the key-down.
std::vector<TKeyMessage> KeyPress(UINT key, wchar_t character) {
  const auto press = static_cast<LPARAM>(1 | (MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16));
  const auto release = static_cast<LPARAM>(static_cast<DWORD>(press) | 0xC0000000u);
  return {{WM_KEYDOWN, key, press},
          {WM_KEYUP, key, release},
          {WM_CHAR, static_cast<WPARAM>(character), press}};
}

struct TMessagesCase {
  const char* Name;
  const char* Output;
  UINT Key;  // 0: none
  wchar_t Character;
};

class OutputMessages : public OutputE2E, public testing::WithParamInterface<TMessagesCase> {};

TEST_P(OutputMessages, AreTheDigitsThenTheKeysOwnMessages) {
  const TMessagesCase& c = GetParam();
  Launch(std::string(kShown) + c.Output);
  TTypingTargetWindow window(TTypingTargetWindow::TCaret::Shown);
  std::vector<TKeyMessage> expected = DigitMessages(kFrameAs26);
  if (c.Key != 0) {
    for (const TKeyMessage& m : KeyPress(c.Key, c.Character)) expected.push_back(m);
  }
  EXPECT_TRUE(PresentCardTo(
      window.Window(), [&] { return window.Ready(); },
      [&] { return window.Pump().Received().size() >= expected.size(); }));
  window.PumpFor(kSettleMs);
  EXPECT_EQ(window.Received(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutputMessages,
    testing::Values(TMessagesCase{"DefaultsAreOnlyTheCharactersAsEver", "", 0, 0},
                    TMessagesCase{"Enter", "[OUTPUT]\r\nSuffix=1\r\n", VK_RETURN, L'\r'},
                    TMessagesCase{"Tab", "[OUTPUT]\r\nSuffix=2\r\n", VK_TAB, L'\t'}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- a program without a caret -----------------------------------------------------------

class NoCaretTyping : public OutputE2E {};

TEST_F(NoCaretTyping, OnTheFocusedWindowReceivesTheNumberAndTheKey) {
  Launch(std::string(kShown) + "[OUTPUT]\r\nFormat=1\r\nSuffix=1\r\nNoCaretTyping=1\r\n");
  TTypingTargetWindow window(TTypingTargetWindow::TCaret::None);
  const std::wstring expected = L"052,22136\r";
  EXPECT_TRUE(PresentCardTo(
      window.Window(), [&] { return window.Ready(); },
      [&] { return window.Pump().Characters().size() >= expected.size(); }));
  window.PumpFor(kSettleMs);
  EXPECT_EQ(window.Characters(), expected);
  const auto& received = window.Received();
  EXPECT_EQ(std::count_if(received.begin(), received.end(),
                          [](const TKeyMessage& m) {
                            return m.Message == WM_KEYDOWN && m.WParam == VK_RETURN;
                          }),
            1)
      << "Enter did not come as the real key";
}

TEST_F(NoCaretTyping, OffTheFocusedWindowReceivesNothing) {
  Launch(std::string(kShown) + "[OUTPUT]\r\nSuffix=1\r\nNoCaretTyping=0\r\n");
  TTypingTargetWindow window(TTypingTargetWindow::TCaret::None);
  ASSERT_TRUE(window.Ready());
  ASSERT_TRUE(PresentCard(kFrame));
  window.PumpFor(kSettleMs * 2);
  EXPECT_TRUE(window.Received().empty()) << "received " << window.Received().size();
  // Nothing arrived because of the option, not because the window lost the front.
  EXPECT_EQ(GetForegroundWindow(), window.Window());
}

// The setup dialog has the focus and no caret, and Enter confirms it: a number typed there
// would close it.
TEST_F(NoCaretTyping, NeverTypesIntoThisProgramsOwnWindows) {
  Launch(std::string(kShown) + "[OUTPUT]\r\nSuffix=1\r\nNoCaretTyping=1\r\n");
  PostMessageW(Lintavo.MainWindow(0), WM_COMMAND, IDM_SETUP_OUTPUT, 0);
  HWND dialog = nullptr;
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(WaitUntil(
      [&] {
        dialog = Lintavo.FindTopLevel(TSetupForm::kClassName);
        if (dialog == nullptr || !IsWindowVisible(dialog)) return false;
        if (GetForegroundWindow() != dialog) SetForegroundWindow(dialog);
        return GetForegroundWindow() == dialog &&
               GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
               info.hwndFocus != nullptr;
      },
      kWaitMs))
      << "the setup dialog did not come to the front with a focus";
  ASSERT_EQ(info.hwndCaret, nullptr);

  ASSERT_TRUE(PresentCard(kFrame));
  Sleep(kSettleMs * 2);
  EXPECT_TRUE(IsWindow(dialog)) << "the number and its Enter went into the setup dialog";

  // The check above could fail: Enter on the focused control does confirm the dialog.
  PostMessageW(info.hwndFocus, WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWaitMs));
}

}  // namespace
