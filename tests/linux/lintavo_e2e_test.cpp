// The Linux edition from outside: cards on a pseudo-terminal, the number typed into a window
// of another X client under the US and the Russian layout, the port taken away and brought
// back, the tray icon's colour in a tray host, a second launch, and a Wayland session's notice.
#include <gtest/gtest.h>

#include <thread>

#include "tests/linux/desk.h"

namespace {

// Below the menu bar and the toolbar: the labels' part of the main window.
constexpr int kLabelsTop = 80;

struct TCard {
  std::string Layouts;
  int Group;  // the layout active among them
  std::vector<std::uint8_t> Frame;
  std::string Typed;
};

// One launch per output setting, the layout switched under it between cards as an operator
// does (a new keyboard map, or only another of the map's layouts); each card is presented
// once.
void ExpectTyped(const std::string& settings, const std::vector<TCard>& cards) {
  TDesk desk;
  TTextTarget& target = desk.Target;
  ASSERT_TRUE(desk.Start(settings)) << "the program did not start reading";
  std::string layouts;
  for (const TCard& card : cards) {
    if (card.Layouts != layouts) Session().SetLayout(card.Layouts);
    layouts = card.Layouts;
    target.LockGroup(card.Group);
    const bool us = (card.Layouts + ",").substr(3 * card.Group, 3) == "us,";
    ASSERT_TRUE(target.WaitLayout(us ? "latin" : "cyrillic"))
        << "the layout " << card.Layouts << " did not take";
    EXPECT_TRUE(desk.Types(card.Frame, card.Typed))
        << "layout " << card.Layouts << " group " << card.Group;
  }
  Session().SetLayout("us");
}

}  // namespace

TEST(Typing, DecimalWithoutKeyUnderEachLayout) {
  ExpectTyped("ReaderType=0\n", {{"us", 0, Card26(3430008), "3430008"},
                                 {"ru", 0, Card26(16777215), "16777215"},
                                 {"us,ru", 1, Card40(0x0100000000), "0"}});
}

TEST(Typing, FacilityNumberAndTabUnderEachLayout) {
  ExpectTyped("ReaderType=1\n[OUTPUT]\nFormat=1\nSuffix=2\n",
              {{"us", 0, Card40(0x0000ABCDEF), "171,52719\t"},
               {"ru", 0, Card40(0x0012345678), "4660,22136\t"},
               {"us,ru", 1, Card40(0x0000010203), "001,00515\t"}});
}

TEST(Typing, HexadecimalAndEnterUnderEachLayout) {
  ExpectTyped("ReaderType=1\n[OUTPUT]\nFormat=2\nSuffix=1\n",
              {{"us", 0, Card40(0x12ABCDEF34), "12ABCDEF34\n"},
               {"ru", 0, Card40(0xFEDCBA9876), "FEDCBA9876\n"},
               {"us,ru", 0, Card40(0x0000000BCD), "0000000BCD\n"},
               {"us,ru", 1, Card40(0x00000000AF), "00000000AF\n"}});
}

// The operator at work in the program's own window (the setup dialog, say) must not have
// the number typed into it: a card presented then goes nowhere, and the sentinel presented
// after it, with the focus back in the xterm, is all that arrives anywhere. A card typed into
// the xterm before makes sure the window of the last card is not taken for the focus now.
TEST(Typing, NothingGoesIntoTheProgramsOwnWindow) {
  TDesk desk;
  Display* const display = desk.Screen;
  ASSERT_TRUE(desk.Start("[OUTPUT]\nSuffix=1\n"));
  ASSERT_TRUE(desk.Types(Card26(3333333), "3333333\n"));
  std::this_thread::sleep_for(200ms);
  const Window main = *desk.Program->MainWindow(display);
  WatchKeys(display, main);
  XSetInputFocus(display, main, RevertToParent, CurrentTime);
  XSync(display, False);
  desk.Reader.Present(Card26(4444444));
  // The reader drops what follows a frame, so the sentinel waits for a quiet line.
  std::this_thread::sleep_for(200ms);
  EXPECT_TRUE(desk.Types(Card26(5555555), "5555555\n"));
  EXPECT_EQ(KeyPressesSeen(display, main), 0) << "keys reached the program's own window";
}

// Red at once in the window and the tray when the device goes, green again and reading
// when it comes back: the program reopens it by itself.
TEST(Line, DeviceTakenAwayAndBroughtBack) {
  TDesk desk;
  Display* const display = desk.Screen;
  ASSERT_TRUE(desk.Start());
  const Window main = *desk.Program->MainWindow(display);
  const auto green = [&] {
    const TColourCount window = CountColours(display, main, kLabelsTop);
    const TColourCount tray = CountTrayColours(display);
    return window.Green > 0 && window.Red == 0 && tray.Green > 0 && tray.Red == 0;
  };
  const auto red = [&] {
    const TColourCount window = CountColours(display, main, kLabelsTop);
    const TColourCount tray = CountTrayColours(display);
    return window.Red > 0 && window.Green == 0 && tray.Red > 0 && tray.Green == 0;
  };
  EXPECT_TRUE(WaitUntil(green, 3s)) << "not green with the port open";

  desk.Reader.TakeAway();
  EXPECT_TRUE(WaitUntil(red, 2s)) << "not red within two seconds of the device going";
  EXPECT_FALSE(HasThreadNamed(desk.Program->Pid(), "lintavo-reader")) << "a reader still runs";

  desk.Reader.BringBack();
  EXPECT_TRUE(WaitUntil(green, 6s)) << "not green again after the device came back";
  ASSERT_TRUE(desk.Program->WaitReading(display));
  EXPECT_TRUE(desk.Types(Card26(1234567), "1234567"));
}

// The second copy brings the first one's window up, says why it does not start, and ends;
// the first goes on reading.
TEST(SecondLaunch, BringsTheFirstWindowUp) {
  TDesk desk;
  Display* const display = desk.Screen;
  ASSERT_TRUE(desk.Start("", true));
  const Window main = *desk.Program->MainWindow(display);
  ASSERT_TRUE(WaitUntil([&] { return !WindowShown(display, main); }, 3s))
      << "not minimised to the tray";

  TChild second = desk.Program->StartAnother();
  EXPECT_TRUE(WaitUntil([&] { return WindowShown(display, main); }, 5s))
      << "the first window stayed hidden";
  std::optional<Window> notice;
  ASSERT_TRUE(WaitUntil(
      [&] {
        notice = FindWindow(display, second.Pid(), "Ошибка");
        return notice && WindowShown(display, *notice);
      },
      5s))
      << "the second copy showed no notice";
  CloseWindow(display, *notice);
  EXPECT_EQ(second.WaitExit(5s), 0);

  EXPECT_TRUE(desk.Program->Process().Running());
  EXPECT_TRUE(desk.Types(Card26(7654321), "7654321"));
}

// In a Wayland session the program says in red, beside its open port, that it types no
// card number. That nothing is typed there follows from the session it finds (the host's
// decision tests).
TEST(Wayland, SaysInRedThatNoNumberIsTyped) {
  TDesk desk;
  Display* const display = desk.Screen;
  ASSERT_TRUE(desk.Start("", false,
                         {{"WAYLAND_DISPLAY", "wayland-lintavo-test"},
                          {"XDG_SESSION_TYPE", "wayland"},
                          // Qt itself shows its windows on the test's X display, as under Xwayland.
                          {"QT_QPA_PLATFORM", "xcb"}}));
  const Window main = *desk.Program->MainWindow(display);
  TColourCount look;
  EXPECT_TRUE(WaitUntil(
      [&] {
        look = CountColours(display, main, kLabelsTop);
        return look.Green > 0 && look.Red > 0;
      },
      3s))
      << "green " << look.Green << " (the open port), red " << look.Red << " (the notice)";
}
