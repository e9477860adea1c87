// The card journal from outside: every card in the daily file in the order read, typed or
// not, a burst included that comes while a modal dialog holds the window; the balloon of a
// card that was not typed opens the journal at that card, and the journal window gives the
// numbers to the clipboard.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "tests/linux/desk.h"

// After GoogleTest, whose names Xlib's macros would take.
#include <X11/keysym.h>

namespace fs = std::filesystem;

namespace {

constexpr char kJournalTitle[] = "Журнал карт";
constexpr char kTyped[] = "введён";
constexpr char kNotTyped[] = "не введён: ";
// The menu «Файл» in the main window's coordinates, and its first item below its popup's top.
constexpr struct { int X, Y; } kFileMenu{20, 10};
constexpr int kFirstItemDrop = 12;
// Below the port's line, where the main window tells of a card, and a point in its first line.
constexpr struct { int X, Y; } kCardLine{60, 162};
constexpr int kCardLineDrop = 8;
constexpr int kBurst = 50;
// The reader takes a frame read within its echo spell (11 ms) after the last one's read for a
// copy, and two frames read at once for a broken one: 20 ms apart, a reader thread held up
// for 10 ms on a busy machine loses cards before they reach the journal.
constexpr auto kBurstGap = 40ms;
constexpr std::uint32_t kBurstFirst = 3000000;

std::string FileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What another program gets when it pastes, once it is `expected` or the time ran out: the
// program takes the copy in its own time.
std::string Clipboard(const std::string& folder, const std::string& expected) {
  const std::string file = folder + "/clipboard";
  std::string pasted;
  WaitUntil(
      [&] {
        TChild xclip({"sh", "-c", "xclip -o -selection clipboard > '" + file + "'"});
        pasted = xclip.WaitExit(5s) == 0 ? FileText(file) : "(nothing on the clipboard)";
        return pasted == expected;
      },
      3s);
  return pasted;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(separator, from)) != std::string::npos;
       from = at + separator.size())
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

std::optional<Window> ShownWindow(Display* display, pid_t pid, const char* title) {
  std::optional<Window> window;
  const auto shown = [&] {
    return (window = FindWindow(display, pid, title)) && WindowShown(display, *window);
  };
  return WaitUntil(shown, 5s) ? window : std::nullopt;
}

}  // namespace

TEST(Journal, EveryCardKeptInOrderAndFoundAgain) {
  TDesk desk;
  Display* const display = desk.Screen;
  const std::string state = desk.Scratch.Path() + "/state";
  ASSERT_TRUE(desk.Start("[OUTPUT]\nSuffix=1\n[JOURNAL]\nToFile=1\n", false,
                         {{"XDG_STATE_HOME", state}}));
  const pid_t pid = desk.Program->Pid();
  const Window main = *desk.Program->MainWindow(display);

  // One card typed, one into the program's own window, which tells of it in a balloon.
  ASSERT_TRUE(desk.Types(Card26(1111111), "1111111\n"));
  XSetInputFocus(display, main, RevertToParent, CurrentTime);
  XSync(display, False);
  desk.Reader.Present(Card26(2222222));
  EXPECT_TRUE(WaitUntil([&] { return ShownPopup(display, pid).has_value(); }, 3s))
      << "no balloon for the card that was not typed";

  // A burst while the setup dialog, modal, holds the window and the focus.
  const TRect at = ScreenRect(display, main);
  ClickAt(display, at.X + kSetupButton.X, at.Y + kSetupButton.Y);
  const std::optional<Window> setup = ShownWindow(display, pid, kSetupTitle);
  ASSERT_TRUE(setup) << "the setup dialog did not open";
  XSetInputFocus(display, *setup, RevertToParent, CurrentTime);
  XSync(display, False);
  // Never two frames closer than kBurstGap, also when the test itself was held up.
  for (int card = 0; card < kBurst; ++card) {
    if (card > 0) std::this_thread::sleep_for(kBurstGap);
    desk.Reader.Present(Card26(kBurstFirst + card));
  }
  std::this_thread::sleep_for(200ms);
  CloseWindow(display, *setup);

  // The balloon now tells of the burst's last card, and leads to it.
  std::optional<Window> balloon;
  ASSERT_TRUE(WaitUntil([&] { return (balloon = ShownPopup(display, pid)).has_value(); }, 3s))
      << "no balloon after the burst";
  const TRect tip = ScreenRect(display, *balloon);
  ClickAt(display, tip.X + tip.Width / 2, tip.Y + tip.Height / 2);
  const std::optional<Window> journal = ShownWindow(display, pid, kJournalTitle);
  ASSERT_TRUE(journal) << "the balloon's click opened no journal";
  XSetInputFocus(display, *journal, RevertToParent, CurrentTime);
  PressKeys(display, {XK_Control_L, XK_c});
  const std::string last = std::to_string(kBurstFirst + kBurst - 1);
  EXPECT_EQ(Clipboard(desk.Scratch.Path(), last), last) << "the balloon's card is not the one chosen";
  CloseWindow(display, *journal);

  // The sentinel: nothing of the burst went into the xterm, and the file has it all, in the
  // order read, under its header (the line's own form is tested with the row).
  EXPECT_TRUE(desk.Types(Card26(4444444), "4444444\n"));
  const fs::path folder = fs::path(state) / "lintavo" / "journal";
  fs::path file;
  std::string text;
  EXPECT_TRUE(WaitUntil(
      [&] {
        std::error_code error;
        for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error))
          file = entry->path();
        return (text = FileText(file)).find("4444444") != std::string::npos;
      },
      3s))
      << "no journal file with the sentinel in " << folder;
  std::vector<std::string> expected = {"1111111;lintavo-text-target;xterm;" + std::string(kTyped),
                                       "2222222;" + std::string(kMainTitle) + ";lintavo;" + kNotTyped};
  for (int card = 0; card < kBurst; ++card)
    expected.push_back(std::to_string(kBurstFirst + card) + ";" + kSetupTitle + ";lintavo;" + kNotTyped);
  expected.push_back("4444444;lintavo-text-target;xterm;" + std::string(kTyped));
  const std::vector<std::string> lines = Split(text, "\r\n");
  ASSERT_EQ(lines.size(), expected.size() + 2) << text;
  for (std::size_t row = 0; row < expected.size(); ++row) {
    const std::string& line = lines[row + 1];
    // The reason after «не введён: » is the notice's, tested with the row at the unit floor.
    EXPECT_EQ(line.substr(line.find(';') + 1, expected[row].size()), expected[row]);
  }

  // From the menu «Файл» the window comes again, with every card, newest on top. The tray
  // goes first: the program has taken that in by the time it answered the copy.
  Session().StopTray();
  ClickAt(display, at.X + kFileMenu.X, at.Y + kFileMenu.Y);
  std::optional<Window> menu;
  ASSERT_TRUE(WaitUntil([&] { return (menu = ShownPopup(display, pid)).has_value(); }, 3s))
      << "the menu «Файл» did not open";
  const TRect items = ScreenRect(display, *menu);
  ClickAt(display, items.X + items.Width / 2, items.Y + kFirstItemDrop);
  // Qt makes the window's X window anew each time it is shown again.
  const std::optional<Window> again = ShownWindow(display, pid, kJournalTitle);
  ASSERT_TRUE(again) << "the menu opened no journal";
  XSetInputFocus(display, *again, RevertToParent, CurrentTime);
  PressKeys(display, {XK_Control_L, XK_a});
  PressKeys(display, {XK_Control_L, XK_c});
  std::string numbers;
  for (auto row = expected.rbegin(); row != expected.rend(); ++row)
    numbers += row->substr(0, row->find(';')) + (row + 1 != expected.rend() ? "\n" : "");
  EXPECT_EQ(Clipboard(desk.Scratch.Path(), numbers), numbers);
  CloseWindow(display, *again);

  // With no tray to show a balloon in, the number stands in red in the main window, and a
  // click on it leads to the card.
  XSetInputFocus(display, main, RevertToParent, CurrentTime);
  XSync(display, False);
  desk.Reader.Present(Card26(5555555));
  ASSERT_TRUE(WaitUntil([&] { return CountColours(display, main, kCardLine.Y).Red > 0; }, 3s))
      << "the card's number is not in red in the main window";
  ClickAt(display, at.X + kCardLine.X, at.Y + kCardLine.Y + kCardLineDrop);
  const std::optional<Window> fromLine = ShownWindow(display, pid, kJournalTitle);
  ASSERT_TRUE(fromLine) << "the red line's click opened no journal";
  XSetInputFocus(display, *fromLine, RevertToParent, CurrentTime);
  PressKeys(display, {XK_Control_L, XK_c});
  EXPECT_EQ(Clipboard(desk.Scratch.Path(), "5555555"), "5555555")
      << "the red line's card is not the one chosen";
}
