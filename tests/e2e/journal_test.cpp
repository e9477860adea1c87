// The card journal as the operator meets it, in one launch: every card read is in the window
// «Журнал карт» and in the day's file, in the order read, also the cards of a burst that came
// while the setup dialog held the program; a balloon's click finds its card, Ctrl+C copies its
// number, and a file that cannot be written is told once in red while typing goes on.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "journal/journal_csv.h"
#include "journal/journal_texts.h"
#include "tests/e2e/beside_notepad.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/notepad_card.h"
#include "tests/support/cardsim.h"
#include "tests/support/front_window.h"
#include "tests/support/ini_section.h"
#include "tests/support/list_view_reader.h"
#include "tests/support/setup_dialog_driver.h"
#include "tests/support/text_file.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/journal/journal_window_win.h"
#include "ui/main_window/resource_ids.h"
#include "ui/setup/setup_form_win.h"
#include "ui/tray/tray_icon.h"
#include "ui/tray/tray_icon_win.h"

namespace {

namespace fs = std::filesystem;

constexpr DWORD kWaitMs = 20'000;
constexpr char kIni[] =
    "[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=0\r\nReaderType=1\r\n[JOURNAL]\r\nToFile=1\r\n";
const e2e::TCard kTyped{L"--card40 305419896", L"305419896"};
constexpr wchar_t kNotTypedArgs[] = L"--card40 1234567";
constexpr int kBurst = 50;
constexpr int kFirstBurstNumber = 16;
// The cards as read, oldest first: the typed card and its sentinel, the card with the
// program's own window in front, the burst, the sentinel after it.
constexpr std::size_t kCards = 2 + 1 + kBurst + 1;

std::wstring Far() { return L"--port COM202 "; }

// Fifty distinct frames 40 ms apart, in one run of cardsim: two seconds. Closer, a reader
// thread held up for longer than the gap on a busy machine reads two frames at once, which
// the frame rule drops whole (more than five bytes in hand): the loop's rule, not the
// journal's, and no card presented by hand comes that fast.
std::wstring BurstArgs() {
  std::wstring raw, split;
  for (int i = 0; i < kBurst; ++i) {
    wchar_t frame[16];
    swprintf(frame, 16, L"00000000%02X", kFirstBurstNumber + i);
    raw += frame;
    split += (i == 0 ? L"" : L",") + std::wstring(L"5");
  }
  return Far() + L"--raw " + raw + L" --split " + split + L" --gap 40";
}

// The numbers as read, oldest first.
std::vector<std::wstring> NumbersAsRead() {
  std::vector<std::wstring> numbers{kTyped.Text, e2e::kSentinel.Text, L"1234567"};
  for (int i = 0; i < kBurst; ++i) numbers.push_back(std::to_wstring(kFirstBurstNumber + i));
  numbers.push_back(e2e::kSentinel.Text);
  return numbers;
}

fs::path JournalFolder() {
  wchar_t local[MAX_PATH] = {};
  GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
  return fs::path(local) / L"Lintavo" / L"journal";
}

// The records of a journal file, without the mark and the line ends.
std::vector<std::string> Records(const std::string& text) {
  std::vector<std::string> records;
  std::size_t start = text.starts_with(kUtf8Bom) ? 3 : 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    records.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return records;
}

// The day's file, once it holds the header and `cards` records.
std::optional<std::string> FileWithCards(std::size_t cards) {
  std::optional<std::string> found;
  WaitUntil(
      [&] {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(JournalFolder(), error)) {
          const std::string text = ReadWholeFile(entry.path());
          if (Records(text).size() == cards + 1) found = text;
        }
        return found.has_value();
      },
      kWaitMs);
  return found;
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"<clipboard busy>";
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) text = chars;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void PutOnClipboard(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
  CloseClipboard();
}

// Ctrl+C as the keyboard gives it to the window in front.
void PressCtrlC() {
  INPUT keys[4] = {};
  const WORD codes[4] = {VK_CONTROL, 'C', 'C', VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = codes[i];
    keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, keys, sizeof(INPUT));
}

class CardJournal : public e2e::TBesideNotepad<CardJournal> {
 protected:
  static void SetUpTestSuite() {
    std::error_code error;
    fs::remove_all(JournalFolder(), error);
    StartBesideNotepad(L"journal", kIni, kWaitMs);
  }
  static void TearDownTestSuite() {
    e2e::TBesideNotepad<CardJournal>::TearDownTestSuite();
    std::error_code error;
    fs::remove_all(JournalFolder(), error);
  }

  HWND JournalWindow() const {
    return Lintavo->WaitForTopLevel(TJournalWindow::kClassName, kJournalTitle, kWaitMs);
  }
  static HWND List(HWND window) { return GetDlgItem(window, TJournalWindow::kListId); }
  // Flips «Сохранять журнал в файл» and confirms the setup.
  void ToggleFileInTheSetup() const {
    const HWND dialog = e2e::OpenSetupDialog(*Lintavo, IDM_SETUP_JOURNAL, kWaitMs);
    ASSERT_NE(dialog, nullptr) << "the setup did not open; " << DescribeFront();
    TSetupDialogDriver setup(dialog);
    setup.ToggleCheckBox(TSetupForm::kJournalToFileId);
    setup.Press(TSetupForm::kOkButtonId);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWaitMs));
  }
};

TEST_F(CardJournal, EveryCardIsKeptInTheOrderReadAlsoWhileTheSetupHoldsTheProgram) {
  ASSERT_EQ(e2e::TypedInNotepad(*Notepad, 2, kTyped), kTyped.Text + e2e::kSentinel.Text);
  ASSERT_TRUE(BringToFront(Main, nullptr)) << DescribeFront();
  ASSERT_EQ(RunCardsim(Far() + kNotTypedArgs), 0u);

  const HWND dialog = e2e::OpenSetupDialog(*Lintavo, IDM_SETUP_JOURNAL, kWaitMs);
  ASSERT_NE(dialog, nullptr) << "the setup did not open; " << DescribeFront();
  TSetupDialogDriver setup(dialog);
  EXPECT_TRUE(setup.Shows(TSetupForm::kJournalToFileId));
  EXPECT_TRUE(setup.IsChecked(TSetupForm::kJournalToFileId));
  EXPECT_EQ(ControlText(setup.Control(TSetupForm::kKeepDaysId)), L"30");
  ASSERT_EQ(RunCardsim(BurstArgs()), 0u);
  // The file takes every card while the dialog still holds the GUI thread.
  EXPECT_TRUE(FileWithCards(kCards - 1)) << "the burst did not reach the file with the setup open";
  setup.Press(TSetupForm::kCancelButtonId);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWaitMs));

  ASSERT_TRUE(Notepad->Focus()) << DescribeFront();
  Notepad->Clear();
  ASSERT_EQ(RunCardsim(Far() + e2e::kSentinel.CardsimArgs), 0u);
  WaitUntil([&] { return Notepad->Text() == e2e::kSentinel.Text; }, kWaitMs);
  ASSERT_EQ(Notepad->Text(), e2e::kSentinel.Text) << DescribeFront();

  e2e::PostMenuCommand(Main, IDM_FILE_JOURNAL);
  const HWND window = JournalWindow();
  ASSERT_NE(window, nullptr) << "the journal did not open";
  const HWND list = List(window);
  WaitUntil([&] { return ListViewCount(list) == static_cast<int>(kCards); }, kWaitMs);
  const auto shown = [&] {
    std::wstring numbers;
    for (int line = 0; line < ListViewCount(list); ++line)
      numbers += ListViewText(list, line, 1) + L" ";
    return numbers;
  };
  ASSERT_EQ(ListViewCount(list), static_cast<int>(kCards)) << "newest first: " << shown();
  const std::vector<std::wstring> numbers = NumbersAsRead();
  for (std::size_t i = 0; i < kCards; ++i)
    EXPECT_EQ(ListViewText(list, static_cast<int>(kCards - 1 - i), 1), numbers[i]) << "card " << i;
  // The first card: typed into notepad; the third: the program's own window in front.
  EXPECT_EQ(ListViewText(list, kCards - 1, 2), WindowText(Notepad->Main()) + L" — notepad.exe");
  EXPECT_EQ(ListViewText(list, kCards - 1, 3), kJournalTyped);
  EXPECT_EQ(ListViewText(list, kCards - 3, 2), WindowText(Main) + L" — Lintavo.exe");
  EXPECT_TRUE(ListViewText(list, kCards - 3, 3).starts_with(kJournalNotTyped));
}

TEST_F(CardJournal, TheDaysFileHoldsEveryCardALineInTheOrderRead) {
  const auto text = FileWithCards(kCards);
  ASSERT_TRUE(text) << "no file with a line for each card in " << JournalFolder();
  ASSERT_TRUE(text->starts_with(kUtf8Bom));
  const std::vector<std::string> records = Records(*text);
  const std::vector<std::wstring> numbers = NumbersAsRead();
  for (std::size_t i = 0; i < kCards; ++i) {
    const auto fields = CsvFieldsOf(records[i + 1]);
    ASSERT_TRUE(fields && fields->size() == 5) << records[i + 1];
    EXPECT_EQ((*fields)[1], numbers[i]) << "line " << i + 1;
  }
  EXPECT_EQ((*CsvFieldsOf(records[1]))[3], L"notepad.exe");
}

TEST_F(CardJournal, ABalloonsClickShowsItsCardAndCtrlCCopiesItsNumber) {
  const HWND window = JournalWindow();
  ASSERT_NE(window, nullptr);
  const HWND list = List(window);
  // Scrolled to the oldest card, so that the newest untyped one is out of view.
  SendMessageW(list, LVM_ENSUREVISIBLE, kCards - 1, FALSE);
  ASSERT_FALSE(ListViewShows(list, 1));
  // The shell's word that the last balloon, the burst's last card, was clicked.
  const HWND icon = Lintavo->FindTopLevel(kTrayIconWindowClass);
  ASSERT_NE(icon, nullptr);
  PostMessageW(icon, kTrayIconMessage, kTrayIconId, kBalloonUserClick);
  EXPECT_TRUE(WaitUntil([&] { return ListViewSelected(list) == std::vector<int>{1}; }, kWaitMs))
      << "selected: " << ListViewSelected(list).size() << " lines";
  EXPECT_TRUE(ListViewShows(list, 1)) << "top line " << ListViewTopLine(list);
  const std::wstring number = std::to_wstring(kFirstBurstNumber + kBurst - 1);
  ASSERT_EQ(ListViewText(list, 1, 1), number);

  PutOnClipboard(L"before");
  const DWORD before = GetClipboardSequenceNumber();
  ASSERT_TRUE(WaitForFront(window, kWaitMs)) << DescribeFront();
  PressCtrlC();
  // Read once the program has put something there, so that this test never holds the
  // clipboard while the program copies.
  EXPECT_TRUE(WaitUntil([&] { return GetClipboardSequenceNumber() != before; }, kWaitMs));
  EXPECT_EQ(ClipboardText(), number);
}

TEST_F(CardJournal, AFileThatCannotBeWrittenIsToldOnceInRedAndTypingGoesOn) {
  std::error_code error;
  fs::remove_all(JournalFolder(), error);
  WriteWholeFile(JournalFolder(), "not a folder");
  ASSERT_EQ(e2e::TypedInNotepad(*Notepad, 2, kTyped), kTyped.Text + e2e::kSentinel.Text);
  const HWND line = ChildrenOfClass(Main, L"Edit").front();
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(line) != FALSE; }, kWaitMs));
  const std::wstring told = ControlText(line);
  EXPECT_TRUE(told.starts_with(kJournalWriteFailed)) << told;
  EXPECT_NE(told.find(L".csv"), std::wstring::npos) << told;
  EXPECT_TRUE(VisibleTopLevels(window_class::kMessageForm).empty()) << "a dialog showed";
  // The writer tries again with each card and says nothing more; once the folder can be made
  // the cards that waited are written with the new ones, and nothing more was told by then.
  DWORD_PTR cleared = 0;
  SendMessageTimeoutW(line, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, kWaitMs,
                      &cleared);
  ASSERT_EQ(ControlText(line), L"");
  ASSERT_EQ(e2e::TypedInNotepad(*Notepad, 2, kTyped), kTyped.Text + e2e::kSentinel.Text);
  fs::remove(JournalFolder(), error);
  ASSERT_EQ(e2e::TypedInNotepad(*Notepad, 2, kTyped), kTyped.Text + e2e::kSentinel.Text);
  EXPECT_TRUE(FileWithCards(6)) << "the cards that waited were not written";
  ASSERT_TRUE(e2e::PostedBeforeHandled(Main));
  EXPECT_EQ(ControlText(line), L"") << "the failure was told again";
}

// The page's switch reaches the settings file; what the writer does with it is its own
// floor's.
TEST_F(CardJournal, TheFileTurnedOffInTheSetupIsSaved) {
  ToggleFileInTheSetup();
  // Saved once the setup has closed and the port is being opened anew.
  const TIniEntries off{{"ToFile", "0"}, {"KeepDays", "30"}};
  WaitUntil([&] { return IniSectionEntries(Lintavo->ReadIni(), "JOURNAL") == off; }, kWaitMs);
  EXPECT_EQ(IniSectionEntries(Lintavo->ReadIni(), "JOURNAL"), off);
}

}  // namespace
