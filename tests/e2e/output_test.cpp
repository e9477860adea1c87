// The output options in the real program, one launch for the area: set in its settings file
// (facility,number with Enter, typing where no caret is), they reach notepad, another
// program's form and a window without a caret; changed in the setup's output page to Tab,
// the form's next field. Each format and key message for message is the reader's own (the
// reader tests of the Windows floor). The tests run in order on the one program on COM2.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/lintavo_instance.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/notepad_card.h"
#include "tests/e2e/output_form_ids.h"
#include "tests/support/cardsim.h"
#include "tests/support/child_process.h"
#include "tests/support/front_window.h"
#include "tests/support/notepad.h"
#include "tests/support/setup_dialog_driver.h"
#include "tests/support/test_paths.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/typing_target_window.h"
#include "tests/support/wait.h"
#include "ui/main_window/resource_ids.h"
#include "ui/setup/setup_form_win.h"

namespace {

using e2e::TCard;

constexpr DWORD kWaitMs = 20'000;
// The frame on the 26-bit reader in facility,number form, and the sentinel likewise.
constexpr wchar_t kFrame[] = L"--raw 0012345678";
constexpr wchar_t kFacility[] = L"052,22136";
constexpr wchar_t kSentinelFacility[] = L"000,00009";

bool PresentCard(const std::wstring& args) { return RunCardsim(L"--port COM202 " + args) == 0; }

// output_form in its own process; the process ends with the object.
class TOutputForm {
 public:
  TOutputForm() : Process_(L"\"" + (TestProgramDir() / L"output_form.exe").wstring() + L"\"") {
    WaitUntil(
        [&] {
          const auto windows = TopLevelWindowsOfProcess(Process_.ProcessId());
          Dialog_ = windows.empty() ? nullptr : windows.front();
          return Dialog_ != nullptr && Field(IDC_PRESSES) != nullptr &&
                 GetForegroundWindow() == Dialog_;
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
  bool CaretIn(int id) const { return GuiThreadOf(Dialog_).hwndCaret == Field(id); }

 private:
  TChildProcess Process_;
  HWND Dialog_ = nullptr;
};

class OutputE2E : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Notepad = std::make_unique<TNotepad>();
    SetWindowPos(Notepad->Main(), nullptr, 0, 420, 600, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    Lintavo = std::make_unique<e2e::TLintavoInstance>(L"output");
    Lintavo->WriteIni(
        "[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=0\r\n"
        "[OUTPUT]\r\nFormat=1\r\nSuffix=1\r\nNoCaretTyping=1\r\n");
    StartedUp = Lintavo->Start() && Lintavo->WaitForStartUp(kWaitMs);
  }
  static void TearDownTestSuite() {
    Lintavo.reset();
    Notepad.reset();
  }
  void SetUp() override {
    ASSERT_TRUE(StartedUp) << "the program did not start up; " << DescribeFront();
    ASSERT_TRUE(Lintavo->Running()) << "the program has ended";
    Main = Lintavo->MainWindow(0);
  }

  static inline std::unique_ptr<TNotepad> Notepad;
  static inline std::unique_ptr<e2e::TLintavoInstance> Lintavo;
  static inline bool StartedUp = false;
  HWND Main = nullptr;
};

TEST_F(OutputE2E, TheSettingsFilesOptionsReachNotepad) {
  ASSERT_NE(Notepad->Edit(), nullptr) << "notepad did not come up";
  const TCard card{kFrame, std::wstring(kFacility) + L"\r\n"};
  const TCard sentinel{e2e::kSentinel.CardsimArgs, std::wstring(kSentinelFacility) + L"\r\n"};
  EXPECT_EQ(e2e::TypedInNotepad(*Notepad, 2, card, sentinel), card.Text + sentinel.Text)
      << DescribeFront();
}

// The sentinel card presses the button a second time: one press was the card's.
TEST_F(OutputE2E, EnterAfterTheNumberPressesTheFormsDefaultButtonOnce) {
  TOutputForm form;
  ASSERT_NE(form.Dialog(), nullptr) << "output_form did not come up; " << DescribeFront();
  ASSERT_TRUE(WaitUntil([&] { return form.CaretIn(IDC_FIRST_FIELD); }, kWaitMs))
      << DescribeFront();
  const std::wstring once = std::wstring(L"1: ") + kFacility;
  ASSERT_TRUE(PresentCard(kFrame));
  EXPECT_TRUE(WaitUntil([&] { return form.Text(IDC_PRESSES) == once; }, kWaitMs))
      << "pressed: " << testing::PrintToString(form.Text(IDC_PRESSES)) << "; " << DescribeFront();
  ASSERT_TRUE(PresentCard(e2e::kSentinel.CardsimArgs));
  const std::wstring both = std::wstring(kFacility) + kSentinelFacility;
  EXPECT_TRUE(WaitUntil([&] { return form.Text(IDC_PRESSES) == L"2: " + both; }, kWaitMs))
      << "pressed: " << testing::PrintToString(form.Text(IDC_PRESSES));
  EXPECT_EQ(form.Text(IDC_FIRST_FIELD), both);
  EXPECT_EQ(form.Text(IDC_SECOND_FIELD), L"");
}

// A window of this test process, which is another program to the reader, with the focus on a
// button and no caret: the number comes as typed keys, Enter as the real key.
TEST_F(OutputE2E, WithoutACaretTheFocusedWindowReceivesTheNumberAndTheKey) {
  TTypingTargetWindow window(TTypingTargetWindow::TCaret::None);
  ASSERT_TRUE(window.Ready()) << DescribeFront();
  const std::wstring card = std::wstring(kFacility) + L"\r";
  const std::wstring both = card + kSentinelFacility + L"\r";
  ASSERT_TRUE(PresentCard(kFrame));
  ASSERT_TRUE(WaitUntil([&] { return window.Pump().Characters().size() >= card.size(); },
                        kWaitMs))
      << "received " << window.Characters() << "; " << DescribeFront();
  ASSERT_TRUE(PresentCard(e2e::kSentinel.CardsimArgs));
  WaitUntil([&] { return window.Pump().Characters().size() >= both.size(); }, kWaitMs);
  EXPECT_EQ(window.Characters(), both);
  const auto& received = window.Received();
  EXPECT_EQ(std::count_if(received.begin(), received.end(),
                          [](const TTypingTargetWindow::TKeyMessage& m) {
                            return m.Message == WM_KEYDOWN && m.WParam == VK_RETURN;
                          }),
            2)
      << "Enter did not come as the real key, once for each card";
}

// The suffix changed in the setup's output page, not in the file.
TEST_F(OutputE2E, TabChosenInTheSetupMovesToTheFormsNextFieldAndPressesNothing) {
  TSetupDialogDriver setup(e2e::OpenSetupDialog(*Lintavo, IDM_SETUP_OUTPUT, kWaitMs));
  ASSERT_NE(setup.Dialog, nullptr) << "the setup dialog did not come up; " << DescribeFront();
  setup.Choose(TSetupForm::kSuffixId, 2);
  setup.Press(TSetupForm::kOkButtonId);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(setup.Dialog); }, kWaitMs));
  ASSERT_TRUE(WaitForFront(Main, kWaitMs)) << DescribeFront();

  TOutputForm form;
  ASSERT_NE(form.Dialog(), nullptr) << "output_form did not come up; " << DescribeFront();
  ASSERT_TRUE(PresentCard(kFrame));
  EXPECT_TRUE(WaitUntil(
      [&] { return form.Text(IDC_FIRST_FIELD) == kFacility && form.CaretIn(IDC_SECOND_FIELD); },
      kWaitMs))
      << "first field: " << testing::PrintToString(form.Text(IDC_FIRST_FIELD)) << "; "
      << DescribeFront();
  ASSERT_TRUE(PresentCard(e2e::kSentinel.CardsimArgs));
  EXPECT_TRUE(WaitUntil([&] { return form.Text(IDC_SECOND_FIELD) == kSentinelFacility; },
                        kWaitMs))
      << "second field: " << testing::PrintToString(form.Text(IDC_SECOND_FIELD));
  EXPECT_EQ(form.Text(IDC_FIRST_FIELD), kFacility);
  EXPECT_EQ(form.Text(IDC_PRESSES), L"") << "Tab pressed the default button";
}

// Ends the program: without the exit question it ends at once.
TEST_F(OutputE2E, ExitFromTheToolBarWithoutTheQuestionEndsAtOnce) {
  e2e::PostToolBarClick(Main, e2e::ToolButton::Exit);
  EXPECT_EQ(Lintavo->WaitForExit(kWaitMs), 0u);
}

}  // namespace
