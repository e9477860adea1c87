// The Linux edition on an operator's desk: a card typed exactly whatever modifier keys the
// operator holds and with Caps Lock on, and never into the program's own open menu.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/linux/desk.h"

// After GoogleTest, whose names Xlib's macros would take.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace fs = std::filesystem;

namespace {

// Below the port's line, in window coordinates: where the notices go.
constexpr int kNoticesTop = 162;
// Its page "Считыватель", which lists the ports.
constexpr struct { int X, Y; } kReaderTab{85, 10};

// Holds or lets go what the operator's hand holds, through the server's keyboard: a key, or
// with no key Caps Lock.
void Hold(Display* display, KeySym symbol, bool on) {
  if (symbol == NoSymbol) {
    XkbLockModifiers(display, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
  } else {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, symbol), on ? True : False, CurrentTime);
  }
  XSync(display, False);
}

bool Held(Display* display, KeySym symbol) {
  if (symbol == NoSymbol) {
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    return (state.locked_mods & LockMask) != 0;
  }
  char keys[32] = {};
  XQueryKeymap(display, keys);
  const KeyCode key = XKeysymToKeycode(display, symbol);
  return (keys[key / 8] & (1 << (key % 8))) != 0;
}

// Some client holds the keyboard (an open menu does): the test's own grab is refused.
bool KeyboardGrabbed(Display* display) {
  const int result = XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync,
                                   GrabModeAsync, CurrentTime);
  if (result == GrabSuccess) XUngrabKeyboard(display, CurrentTime);
  XSync(display, False);
  return result == AlreadyGrabbed;
}

// The popup a menu shows: a mapped window that asks the window manager to leave it alone.
std::optional<Window> OpenPopup(Display* display) {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  std::optional<Window> found;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
    return found;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, children[i], &attributes) && attributes.override_redirect &&
        attributes.map_state == IsViewable && attributes.width > 20 && attributes.height > 10)
      found = children[i];
  }
  if (children != nullptr) XFree(children);
  return found;
}

std::vector<Window> WindowListProperty(Display* display, const char* name) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<Window> windows;
  const Atom property = XInternAtom(display, name, False);
  if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1024, False, XA_WINDOW,
                         &type, &format, &count, &after, &data) == Success &&
      data != nullptr) {
    const auto* ids = reinterpret_cast<const unsigned long*>(data);
    windows.assign(ids, ids + count);
    XFree(data);
  }
  return windows;
}

// Whether the window manager stacks `upper` above `lower`.
bool StackedAbove(Display* display, Window upper, Window lower) {
  const std::vector<Window> stacking = WindowListProperty(display, "_NET_CLIENT_LIST_STACKING");
  const auto up = std::find(stacking.begin(), stacking.end(), upper);
  const auto low = std::find(stacking.begin(), stacking.end(), lower);
  return up != stacking.end() && low != stacking.end() && up > low;
}

struct THeld {
  const char* Name;
  KeySym Key;  // none: Caps Lock
};

}  // namespace

// Each card with one thing the keyboard holds: the hex letters and the Enter arrive as
// typed, and what was held is held again afterwards. Two last cards with nothing held leave
// nothing held: what the operator let go between cards is not given back (the second card
// is the fence behind the first one's giving back).
TEST(Keyboard, CardExactWhateverTheOperatorHolds) {
  TDesk desk;
  Display* const display = desk.Screen;
  ASSERT_TRUE(desk.Start("ReaderType=1\n[OUTPUT]\nFormat=2\nSuffix=1\n"))
      << "the program did not start reading";
  const THeld held[] = {
      {"Caps Lock", NoSymbol}, {"Shift", XK_Shift_L}, {"Control", XK_Control_L}, {"Alt", XK_Alt_L}};
  std::uint64_t number = 0x12ABCDEF30;
  for (const THeld& what : held) {
    char typed[16];
    std::snprintf(typed, sizeof typed, "%010llX\n", static_cast<unsigned long long>(number));
    Hold(display, what.Key, true);
    EXPECT_TRUE(desk.Types(Card40(number), typed)) << what.Name << " held";
    // Given back just after the last key, which may arrive first.
    EXPECT_TRUE(WaitUntil([&] { return Held(display, what.Key); }, 1s))
        << what.Name << " not given back";
    Hold(display, what.Key, false);
    ++number;
  }
  EXPECT_TRUE(desk.Types(Card40(0x12ABCDEF40), "12ABCDEF40\n")) << "nothing held";
  EXPECT_TRUE(desk.Types(Card40(0x12ABCDEF41), "12ABCDEF41\n")) << "nothing held";
  for (const THeld& what : held) EXPECT_FALSE(Held(display, what.Key)) << what.Name << " held";
}

// The tray menu opened while the xterm has the focus holds the keyboard: a card read
// meanwhile closes it first, so that the number arrives in the xterm and its Enter does not
// choose the menu's highlighted item ("Выход").
TEST(OwnMenu, ClosedBeforeTheCardIsTyped) {
  TDesk desk;
  Display* const display = desk.Screen;
  ASSERT_TRUE(desk.Start("[OUTPUT]\nSuffix=1\n"));
  desk.Target.Focus();
  // The icon sits in the tray host's bottom right corner.
  const Screen* screen = DefaultScreenOfDisplay(display);
  ClickAt(display, screen->width - 10, screen->height - 10, 3);
  std::optional<Window> popup;
  ASSERT_TRUE(
      WaitUntil([&] { return (popup = OpenPopup(display)) && KeyboardGrabbed(display); }, 5s))
      << "the menu did not open";
  const TRect menu = ScreenRect(display, *popup);
  // "Выход", the last item.
  XTestFakeMotionEvent(display, -1, menu.X + menu.Width / 2, menu.Y + menu.Height - 8, CurrentTime);
  XSync(display, False);

  desk.Reader.Present(Card26(4444444));
  EXPECT_EQ(desk.Target.TextUntil("4444444\n", kTypingLimit), "4444444\n")
      << "focus on " << desk.Target.FocusHolder();
  EXPECT_FALSE(KeyboardGrabbed(display)) << "the menu stayed open";
  EXPECT_TRUE(desk.Program->Process().Running()) << "the card chose the menu's item";
}

// A user outside the group dialout is told below the port's line why it did not open and
// what to do, and again in the setup dialog, which comes up centred on the main window; the
// operator, in the group, gets the port open and no notice in either.
TEST(Permission, AUserOutsideDialoutIsToldWhatToDo) {
  if (geteuid() != 0) GTEST_SKIP() << "only a root test can run the program as other users";
  TDesk desk;
  Display* const display = desk.Screen;
  // Both users reach the device: only its own rights keep one out.
  ASSERT_EQ(chmod(desk.Scratch.Path().c_str(), 0755), 0);
  struct TCase {
    const char* User;
    bool Denied;
  };
  for (const TCase& test : {TCase{kGuestUser, true}, TCase{kOperatorUser, false}}) {
    TScratch home;
    const auto user = ProgramUser(test.User);
    TLintavo lintavo(home, Ini(desk.Reader.Device(), "RunOnlyOneCopy=0\n"), {}, user);
    std::optional<Window> main;
    ASSERT_TRUE(WaitUntil(
        [&] { return (main = lintavo.MainWindow(display)) && WindowShown(display, *main); }, 10s))
        << test.User << ": no main window";
    TColourCount port, notices;
    WaitUntil(
        [&] {
          port = CountColours(display, *main, 0);
          notices = CountColours(display, *main, kNoticesTop);
          return test.Denied ? notices.Red > 0 : port.Green > 0;
        },
        3s);
    EXPECT_EQ(notices.Red > 0, test.Denied) << test.User << ": notices red " << notices.Red;
    EXPECT_EQ(port.Green > 0, !test.Denied) << test.User << ": port green " << port.Green;

    const TRect window = ScreenRect(display, *main);
    ClickAt(display, window.X + kSetupButton.X, window.Y + kSetupButton.Y, 1);
    std::optional<Window> setup;
    ASSERT_TRUE(WaitUntil(
        [&] {
          setup = FindWindow(display, lintavo.Pid(), kSetupTitle);
          return setup && WindowShown(display, *setup);
        },
        5s))
        << test.User << ": the setup dialog did not open";
    const TRect dialogRect = ScreenRect(display, *setup);
    // Centred on the main window, not on the screen.
    EXPECT_NEAR(dialogRect.X + dialogRect.Width / 2, window.X + window.Width / 2, 2) << test.User;
    EXPECT_NEAR(dialogRect.Y + dialogRect.Height / 2, window.Y + window.Height / 2, 2) << test.User;
    ClickAt(display, dialogRect.X + kReaderTab.X, dialogRect.Y + kReaderTab.Y, 1);
    TColourCount dialog;
    // The page is drawn once it is shown; its list's ticks are green.
    WaitUntil([&] { return (dialog = CountColours(display, *setup, 0)).Green > 0; }, 3s);
    EXPECT_EQ(dialog.Red > 0, test.Denied)
        << test.User << ": red in the setup dialog " << dialog.Red;
  }
}

// Through IBus, which hands each key back to the field in turn as GNOME and KDE run it, every
// card arrives exact with its Enter: the keys go at a pace the input method keeps up with.
TEST(InputMethod, CardsArriveExactThroughIBus) {
  TDesk desk;
  TTextTarget field = TTextTarget::ThroughIBus(desk.Scratch.Path(), LINTAVO_IBUS_FIELD);
  ASSERT_TRUE(desk.Start("ReaderType=1\n[OUTPUT]\nFormat=2\nSuffix=1\n"));
  field.Focus();
  std::uint64_t number = 0x0123456789;
  for (int card = 0; card < 40; ++card, number += 0x0F1E2D3C4B) {
    char typed[16];
    std::snprintf(typed, sizeof typed, "%010llX\n",
                  static_cast<unsigned long long>(number & 0xFFFFFFFFFF));
    desk.Reader.Present(Card40(number & 0xFFFFFFFFFF));
    EXPECT_EQ(field.TextUntil(typed, kTypingLimit), typed) << "card " << card;
  }
}

// The session ends with SIGTERM: the program ends as at its own exit, its window's placement
// saved; with a settings folder it may not write, it still ends, with no message box that
// nobody is there to answer.
TEST(SessionEnd, EndsAtSigtermWithThePlacementSaved) {
  for (const bool writable : {true, false}) {
    TDesk desk;
    ASSERT_TRUE(desk.Start());
    const std::string folder = desk.Scratch.Path() + "/config/lintavo";
    if (!writable) ASSERT_EQ(chmod(folder.c_str(), 0500), 0);
    kill(desk.Program->Pid(), SIGTERM);
    EXPECT_EQ(desk.Program->Process().WaitExit(5s), 0)
        << "not ended as at its exit, settings folder writable: " << writable;
    if (!writable) continue;
    std::ifstream ini(folder + "/Lintavo.ini");
    const std::string text((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[Place]"), std::string::npos) << text;
  }
}

// Where the panel hosts icons over the StatusNotifierItem protocol, a click on the icon, which
// the panel reports as the item's activation, brings the window hidden in the tray up.
TEST(TrayClick, ActivationShowsTheWindow) {
  TDesk desk;
  Display* const display = desk.Screen;
  const auto user = ProgramUser();
  // The session bus, the watcher and the program are the same user's, as in a session.
  if (user) ASSERT_EQ(chown(desk.Scratch.Path().c_str(), user->Uid, user->Gid), 0);
  const std::string socket = desk.Scratch.Path() + "/bus";
  const std::string address = "unix:path=" + socket;
  TChild bus({"dbus-daemon", "--session", "--nofork", "--address=" + address}, {}, user);
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(socket); }, 5s)) << "no session bus";
  const std::string items = desk.Scratch.Path() + "/items";
  const std::map<std::string, std::string> session{{"DBUS_SESSION_BUS_ADDRESS", address}};
  TChild watcher({LINTAVO_SNI_WATCHER, items}, session, user);
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(items); }, 5s)) << "the watcher did not start";

  ASSERT_TRUE(desk.Start("", true, session, user));
  const Window main = *desk.Program->MainWindow(display);
  std::string item;
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::ifstream in(items);
        return static_cast<bool>(std::getline(in, item)) && !WindowShown(display, main);
      },
      5s))
      << "the icon did not register with the watcher or the window was not hidden in it";

  TChild click(
      {"dbus-send", "--bus=" + address, "--type=method_call", "--dest=" + item,
       "/StatusNotifierItem", "org.kde.StatusNotifierItem.Activate", "int32:1000", "int32:760"},
      {}, user);
  EXPECT_EQ(click.WaitExit(5s), 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowShown(display, main); }, 3s))
      << "the window stayed hidden after the click on " << item;
}

// The tray the window was hidden in goes away: the window comes up rather than stay out of
// the operator's reach.
TEST(TrayGone, TheWindowComesUp) {
  TDesk desk;
  Display* const display = desk.Screen;
  ASSERT_TRUE(desk.Start("", true));
  const Window main = *desk.Program->MainWindow(display);
  ASSERT_TRUE(WaitUntil([&] { return !WindowShown(display, main); }, 3s))
      << "not hidden in the tray";
  Session().StopTray();
  EXPECT_TRUE(WaitUntil([&] { return WindowShown(display, main); }, 3s))
      << "the window stayed hidden after the tray went away";
}

// Under a window manager that keeps programs from stealing the focus (openbox), a second
// launch still brings the first copy's window up in front of the window the operator works
// in.
TEST(SecondLaunchUnderAWindowManager, BringsTheFirstWindowToTheFront) {
  TDesk desk;
  Display* const display = desk.Screen;
  ASSERT_TRUE(desk.Start());
  const Window main = *desk.Program->MainWindow(display);
  TChild manager({"openbox", "--sm-disable"});
  // The operator clicks into the xterm and works there.
  const Window xterm = desk.Target.TargetWindow();
  ASSERT_TRUE(WaitUntil(
      [&] { return StackedAbove(display, main, xterm) || StackedAbove(display, xterm, main); }, 10s))
      << "openbox did not manage the windows";
  const TRect at = ScreenRect(display, xterm);
  ClickAt(display, at.X + at.Width / 2, at.Y + at.Height / 2, 1);
  ASSERT_TRUE(WaitUntil(
      [&] {
        return WindowListProperty(display, "_NET_ACTIVE_WINDOW") == std::vector<Window>{xterm} &&
               StackedAbove(display, xterm, main);
      },
      5s))
      << "the xterm did not come to the front";

  TChild second = desk.Program->StartAnother();
  EXPECT_TRUE(WaitUntil([&] { return StackedAbove(display, main, xterm); }, 5s))
      << "the first copy's window stayed behind the xterm";
}
