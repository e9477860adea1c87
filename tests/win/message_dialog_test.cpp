#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/unique_handle_win.h"
#include "services/service_texts.h"
#include "tests/support/child_process.h"
#include "tests/support/queue_fence.h"
#include "tests/support/test_paths.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/dialogs/message_dialog_win.h"
#include "ui/shell/application_win.h"
#include "ui/shell/texts.h"

namespace {

using B = MessageButton;

HWND FocusOf(HWND dialog) { return GuiThreadOf(dialog).hwndFocus; }

// Closes the dialog and any box it opened, for a script that went wrong.
void CloseEverything(HWND dialog) {
  for (HWND window : TopLevelWindowsOfProcess(GetCurrentProcessId())) {
    if (ClassName(window) == window_class::kDialog) PostMessageW(window, WM_CLOSE, 0, 0);
  }
  PostMessageW(dialog, WM_CLOSE, 0, 0);
}

// Drives a dialog from a second thread as a user would: waits for it by class and caption,
// runs the script, and closes whatever is still open when the script is done, so a failing
// test never leaves a dialog behind. Made on the thread that will run the dialog, whose
// queue its fence then follows.
class TDialogDriver {
 public:
  using TScript = std::function<void(TDialogDriver&, HWND)>;
  TDialogDriver(const wchar_t* cls, std::wstring caption, TScript script)
      : Thread_([this, cls, caption = std::move(caption), script = std::move(script)] {
          const HWND dialog =
              WaitForWindow([&] { return FindVisibleWindow(cls, caption.c_str()); });
          if (dialog == nullptr) return Fail("no dialog appeared");
          WaitForWindow([&] {
            const HWND focus = FocusOf(dialog);
            return focus == dialog || IsChild(dialog, focus) ? focus : nullptr;
          });
          script(*this, dialog);
          if (WaitForWindow([&] { return IsWindowVisible(dialog) ? nullptr : dialog; }, 3000) ==
              nullptr) {
            Fail("the dialog was still open after the script");
            CloseEverything(dialog);
          }
        }) {}
  TDialogDriver(const TDialogDriver&) = delete;
  TDialogDriver& operator=(const TDialogDriver&) = delete;
  ~TDialogDriver() { Join(); }

  // Failures are collected on the driver's thread and reported on the test's.
  std::vector<std::string> Join() {
    if (Thread_.joinable()) Thread_.join();
    std::lock_guard lock(Mutex_);
    return Failures_;
  }
  void Fail(const std::string& what) {
    std::lock_guard lock(Mutex_);
    Failures_.push_back(what);
  }
  // Waits until the dialog's thread has handled everything posted to it so far.
  bool Fenced() { return Fence_.PostAndWait(); }

 private:
  TQueueFence Fence_;
  std::mutex Mutex_;
  std::vector<std::string> Failures_;
  std::thread Thread_;
};

void ExpectNoFailures(TDialogDriver& driver) {
  for (const std::string& failure : driver.Join()) ADD_FAILURE() << failure;
}

enum class Act { Enter, Esc, Tab, CloseBox, StaysOpen, ClickHelp, EndSession };

void PostKey(TDialogDriver& driver, HWND dialog, WPARAM key) {
  const HWND focus = FocusOf(dialog);
  PostMessageW(focus != nullptr ? focus : dialog, WM_KEYDOWN, key, 1);
  if (key != VK_TAB) return;
  if (!WaitForWindow([&] { return FocusOf(dialog) != focus ? dialog : nullptr; }, 2000)) {
    driver.Fail("Tab did not move the focus");
  }
}

void Perform(TDialogDriver& driver, HWND dialog, Act act) {
  switch (act) {
    case Act::Enter:
      return PostKey(driver, dialog, VK_RETURN);
    case Act::Esc:
      return PostKey(driver, dialog, VK_ESCAPE);
    case Act::Tab:
      return PostKey(driver, dialog, VK_TAB);
    case Act::CloseBox:
      PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case Act::StaysOpen:
      if (!driver.Fenced()) driver.Fail("the dialog's thread stopped taking messages");
      if (!IsWindowVisible(dialog)) driver.Fail("the dialog closed");
      return;
    case Act::ClickHelp: {
      PostMessageW(GetDlgItem(dialog, kMessageButtonIdBase + static_cast<int>(B::Help)), BM_CLICK,
                   0, 0);
      // No help library in this process: the help request answers with its plain box.
      const HWND box = WaitForWindow([] { return FindVisibleWindow(window_class::kDialog, kHelpCaption); });
      if (box == nullptr) return driver.Fail("the help request showed nothing");
      if (ChildTexts(box) == std::vector<std::wstring>{}) driver.Fail("the help box is empty");
      PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
      return;
    }
    case Act::EndSession: {
      DWORD_PTR answer = 0;
      SendMessageTimeoutW(dialog, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 2000, &answer);
      if (answer == 0) driver.Fail("the dialog refused to let the session end");
      SendMessageTimeoutW(dialog, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 2000, &answer);
      return;
    }
  }
}

struct KeysCase {
  const char* name;
  MessageButtons buttons;
  std::vector<Act> acts;
  int result;
};

class MessageDialogKeys : public testing::TestWithParam<KeysCase> {};

TEST_P(MessageDialogKeys, ResultOfTheWayTheDialogIsClosed) {
  const KeysCase& c = GetParam();
  TDialogDriver driver(kMessageFormClass, kCaptionConfirmation,
                       [&c](TDialogDriver& d, HWND dialog) {
                         for (Act act : c.acts) Perform(d, dialog, act);
                       });
  EXPECT_EQ(ShowMessageDialog(L"Продолжить?", MessageKind::Confirmation, c.buttons, 0), c.result);
  ExpectNoFailures(driver);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageDialogKeys,
    testing::Values(
        KeysCase{"OkEnter", {B::OK}, {Act::Enter}, 1},
        KeysCase{"OkEscIsAlsoOk", {B::OK}, {Act::Esc}, 1},
        KeysCase{"OkCloseBox", {B::OK}, {Act::CloseBox}, 2},
        KeysCase{"YesNoEnterAtOnce", {B::Yes, B::No}, {Act::Enter}, 6},
        KeysCase{"YesNoTabThenEnter", {B::Yes, B::No}, {Act::Tab, Act::Enter}, 7},
        KeysCase{"YesNoTabWrapsAround", {B::Yes, B::No}, {Act::Tab, Act::Tab, Act::Enter}, 6},
        KeysCase{"YesNoEsc", {B::Yes, B::No}, {Act::Esc}, 7},
        KeysCase{"YesNoCloseBox", {B::Yes, B::No}, {Act::CloseBox}, 2},
        KeysCase{"AbortRetryIgnoreEnterPressesTheFocusedAbort",
                 {B::Abort, B::Retry, B::Ignore},
                 {Act::Enter},
                 3},
        KeysCase{"AbortRetryIgnoreIgnoresEsc",
                 {B::Abort, B::Retry, B::Ignore},
                 {Act::Esc, Act::StaysOpen, Act::CloseBox},
                 2},
        KeysCase{"AbortRetryIgnoreTwoTabsGiveIgnore",
                 {B::Abort, B::Retry, B::Ignore},
                 {Act::Tab, Act::Tab, Act::Enter},
                 5},
        KeysCase{"EmptySetClosesOnlyByTheCloseBox",
                 {},
                 {Act::Enter, Act::Esc, Act::StaysOpen, Act::CloseBox},
                 2},
        KeysCase{
            "HelpDoesNotClose", {B::OK, B::Help}, {Act::ClickHelp, Act::StaysOpen, Act::Esc}, 1},
        KeysCase{"EndOfSessionGivesTwo", {B::Yes, B::No}, {Act::EndSession}, 2},
        KeysCase{"HighBitsAddNoButton", MessageButtons(0xF804), {Act::Esc}, 1}),
    [](const testing::TestParamInfo<KeysCase>& info) { return info.param.name; });

TEST(MessageDialogModal, OtherWindowsAreDisabledAndTheFocusIsOnTheLeftmostButton) {
  const TUniqueWindow owner(CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0,
                                            50, 50, nullptr, nullptr, nullptr, nullptr));
  const HWND other = owner.Get();
  TDialogDriver driver(kMessageFormClass, kCaptionExit, [other](TDialogDriver& d, HWND dialog) {
    if (IsWindowEnabled(other)) d.Fail("another window of the program stayed enabled");
    if (GetDlgCtrlID(FocusOf(dialog)) != kMessageButtonIdBase + static_cast<int>(B::Yes)) {
      d.Fail("the focus is not on the leftmost button");
    }
    Perform(d, dialog, Act::Esc);
  });
  EXPECT_EQ(
      ShowMessageDialog(L"Завершить работу программы?", MessageKind::Exit, {B::Yes, B::No}, 0), 7);
  ExpectNoFailures(driver);
  EXPECT_TRUE(IsWindowEnabled(other));
}

TEST(MessageDialogModal, TheExitQuestionIsFoundFromAnotherProcess) {
  const std::wstring finderPath = (TestProgramDir() / L"message_dialog_finder.exe").wstring();
  const TChildProcess finder(L"\"" + finderPath + L"\" TMessageForm \"Завершение работы\" " +
                             std::to_wstring(kMessageButtonIdBase + static_cast<int>(B::Yes)));
  ASSERT_TRUE(finder.Started());
  // Closes the dialog if the other process never finds it.
  TDialogDriver guard(kMessageFormClass, kCaptionExit, [](TDialogDriver&, HWND) {});
  EXPECT_EQ(
      ShowMessageDialog(L"Завершить работу программы?", MessageKind::Exit, {B::Yes, B::No}, 0), 6);
  ExpectNoFailures(guard);
  EXPECT_EQ(finder.Wait(10000), 0u);
}

TEST(MessageDialogModal, AQuitMessageEndsTheDialogAndIsKeptForTheMainLoop) {
  TDialogDriver driver(kMessageFormClass, kCaptionError, [](TDialogDriver&, HWND dialog) {
    PostThreadMessageW(GetWindowThreadProcessId(dialog, nullptr), WM_QUIT, 7, 0);
  });
  EXPECT_EQ(ShowMessageDialog(L"Ошибка", MessageKind::Error, {B::OK}, 0), 2);
  ExpectNoFailures(driver);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

RECT ChildRect(HWND form, int id) {
  RECT r{};
  const HWND child = GetDlgItem(form, id);
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::vector<HWND> Buttons(HWND form) { return ChildrenOfClass(form, L"Button"); }

struct KindCase {
  const char* name;
  MessageKind kind;
  const wchar_t* caption;
  bool icon;
};

class MessageDialogKinds : public testing::TestWithParam<KindCase> {};

TEST_P(MessageDialogKinds, CaptionAndIconOfTheKind) {
  Application.SetTitle(kApplicationTitle);
  const auto form = BuildMessageForm(L"Текст", GetParam().kind, {B::OK});
  EXPECT_EQ(ClassName(form->Handle()), kMessageFormClass);
  EXPECT_EQ(WindowText(form->Handle()), GetParam().caption);
  EXPECT_EQ(GetDlgItem(form->Handle(), kMessageImageId) != nullptr, GetParam().icon);
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Application.Handle());
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MessageDialogKinds,
    testing::Values(KindCase{"Warning", MessageKind::Warning, L"Предупреждение", true},
                    KindCase{"Error", MessageKind::Error, L"Ошибка", true},
                    KindCase{"Information", MessageKind::Information, L"Информация", true},
                    KindCase{"Confirmation", MessageKind::Confirmation, L"Подтвердите", true},
                    KindCase{"Exit", MessageKind::Exit, L"Завершение работы", true},
                    KindCase{"Custom", MessageKind::Custom, kApplicationTitle, false}),
    [](const testing::TestParamInfo<KindCase>& info) { return info.param.name; });

TEST(MessageDialogForm, CustomShowsTheCurrentTitleAndTheTextAtTheMargin) {
  Application.SetTitle(L"Другой заголовок");
  const auto custom = BuildMessageForm(L"Текст", MessageKind::Custom, {B::OK});
  Application.SetTitle(kApplicationTitle);
  const auto information = BuildMessageForm(L"Текст", MessageKind::Information, {B::OK});
  EXPECT_EQ(WindowText(custom->Handle()), L"Другой заголовок");
  EXPECT_EQ(ChildRect(custom->Handle(), kMessageLabelId).left,
            ChildRect(information->Handle(), kMessageImageId).left);
}

TEST(MessageDialogForm, OneLineBesideTheIconPutsTheButtonsBelowTheIcon) {
  const auto form =
      BuildMessageForm(L"Одна строка", MessageKind::Warning, {B::Yes, B::No, B::Cancel});
  const HWND window = form->Handle();
  const RECT icon = ChildRect(window, kMessageImageId);
  const RECT label = ChildRect(window, kMessageLabelId);
  EXPECT_EQ(icon.right - icon.left, 32);
  EXPECT_EQ(icon.bottom - icon.top, 32);
  EXPECT_EQ(label.top, icon.top);
  EXPECT_GT(label.left, icon.right);
  EXPECT_LT(label.bottom, icon.bottom);

  const std::vector<HWND> buttons = Buttons(window);
  ASSERT_EQ(buttons.size(), 3u);
  RECT client;
  GetClientRect(window, &client);
  RECT first, last;
  GetWindowRect(buttons.front(), &first);
  GetWindowRect(buttons.back(), &last);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&first), 2);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&last), 2);
  EXPECT_GT(first.top, icon.bottom);
  EXPECT_NEAR(first.left, client.right - last.right, 1);  // the row is centred
  EXPECT_EQ(first.left, icon.left);                       // and sets the width here
  EXPECT_EQ(first.right - first.left, last.right - last.left);
  EXPECT_EQ(WindowText(buttons.front()), L"Да");
  EXPECT_EQ(WindowText(buttons.back()), L"Отмена");
}

TEST(MessageDialogForm, TheWindowIsCentredOnTheScreen) {
  const auto form = BuildMessageForm(L"Текст", MessageKind::Error, {B::OK});
  RECT r;
  GetWindowRect(form->Handle(), &r);
  EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, 1);
  EXPECT_NEAR(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 1);
}

TEST(MessageDialogForm, LongTextWrapsWithinHalfTheScreenAndCarriageReturnBreaksLines) {
  const auto one = BuildMessageForm(L"строка", MessageKind::Custom, {B::OK});
  const RECT oneLine = ChildRect(one->Handle(), kMessageLabelId);
  const int lineHeight = oneLine.bottom - oneLine.top;

  const auto two = BuildMessageForm(L"строка\rстрока", MessageKind::Custom, {B::OK});
  const RECT twoLines = ChildRect(two->Handle(), kMessageLabelId);
  EXPECT_EQ(twoLines.bottom - twoLines.top, 2 * lineHeight);

  std::wstring text;
  for (int i = 0; i < 60; ++i) text += L"слово ";
  const auto wrapped = BuildMessageForm(text, MessageKind::Custom, {B::OK});
  const RECT many = ChildRect(wrapped->Handle(), kMessageLabelId);
  EXPECT_LE(many.right - many.left, GetSystemMetrics(SM_CXSCREEN) / 2);
  EXPECT_GE(many.bottom - many.top, 3 * lineHeight);
}

TEST(MessageDialogForm, ControlsUseTheCyrillicCharacterSet) {
  const auto form = BuildMessageForm(L"Текст", MessageKind::Error, {B::OK});
  for (HWND control :
       {GetDlgItem(form->Handle(), kMessageLabelId), Buttons(form->Handle()).front()}) {
    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                           sizeof font, &font));
    EXPECT_EQ(font.lfCharSet, RUSSIAN_CHARSET);
  }
}

TEST(MessageDialogForm, HighBitsGiveNoButton) {
  const auto form = BuildMessageForm(L"Текст", MessageKind::Error, MessageButtons(0xF804));
  const std::vector<HWND> buttons = Buttons(form->Handle());
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(WindowText(buttons[0]), L"Ввод");
}

TEST(MessageDialogForm, ButtonWidthsAreMeasuredOncePerRunAndTheWidestWins) {
  const auto first =
      BuildMessageForm(L"Текст", MessageKind::Error, {B::Abort, B::Retry, B::Ignore});
  const TButtonWidths measured = ButtonWidths;
  EXPECT_GT(measured[static_cast<int>(B::Ignore)], measured[static_cast<int>(B::Retry)]);

  // A width already known is used as it stands, never measured again.
  ButtonWidths[static_cast<int>(B::NoToAll)] = 400;
  const auto second = BuildMessageForm(L"Текст", MessageKind::Error, {B::Retry, B::NoToAll});
  EXPECT_EQ(ButtonWidths[static_cast<int>(B::NoToAll)], 400);
  EXPECT_EQ(ButtonWidths[static_cast<int>(B::Retry)], measured[static_cast<int>(B::Retry)]);
  for (HWND button : Buttons(second->Handle())) {
    RECT r;
    GetWindowRect(button, &r);
    EXPECT_EQ(r.right - r.left, 400);
  }
}

TEST(ApplicationObject, StandardErrorReportClosesTheSentence) {
  std::wstring seenCaption, seenText;
  TDialogDriver driver(window_class::kDialog, kApplicationTitle, [&](TDialogDriver&, HWND box) {
    seenCaption = WindowText(box);
    for (const std::wstring& text : ChildTexts(box)) {
      if (text.find(L"Сбой") == 0) seenText = text;
    }
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  });
  Application.SetTitle(kApplicationTitle);
  Application.ShowException(L"Сбой записи");
  ExpectNoFailures(driver);
  EXPECT_EQ(seenCaption, kApplicationTitle);
  EXPECT_EQ(seenText, L"Сбой записи.");
}

}  // namespace
