#include "reader/card_typing_linux.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern "C" {
#include <xdo.h>
}

#include "reader/typing_plan.h"

TTypingSession TypingSession = TTypingSession::NoDisplay;

namespace {

// Set by the GUI thread while one of the program's menus is open.
std::atomic<bool> OwnMenuOpen{false};
// Set once before the first reader starts.
std::function<void()> OwnMenuCloser;
// How long a card waits for the program's menus to close.
constexpr auto kMenuCloseLimit = std::chrono::milliseconds(500);
constexpr auto kMenuCloseLook = std::chrono::milliseconds(5);

// No client holds the keyboard: the closed menu has let it go.
bool KeyboardFree(Display* display) {
  const bool free = XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync,
                                  GrabModeAsync, CurrentTime) == GrabSuccess;
  if (free) XUngrabKeyboard(display, CurrentTime);
  XSync(display, False);
  return free;
}

// Has the program's open menus closed and waits, within a limit, until they let the
// keyboard go; false when they are still open.
bool CloseOwnMenus(Display* display) {
  if (!OwnMenuOpen) return true;
  if (OwnMenuCloser) OwnMenuCloser();
  const auto end = std::chrono::steady_clock::now() + kMenuCloseLimit;
  while (std::chrono::steady_clock::now() < end) {
    if (!OwnMenuOpen && KeyboardFree(display)) return true;
    std::this_thread::sleep_for(kMenuCloseLook);
  }
  return false;
}

// The pause, in microseconds, libxdo takes with each key. The input methods GNOME and KDE
// run (IBus, Fcitx) hand each key back to the program in turn and swap or drop keys that come
// faster than they answer. Measured through IBus on a busy two-core machine
// (bench/linux/typing_pace_bench.cpp): 500 swapped about one card in a hundred, 1000 to 4000
// now and then one in a few hundred, 6000 none in 800; a card of eleven keys then takes
// about a tenth of a second. The letters a layout lacks sit on keys lent for the reader's
// life (TLentKeys), so no pause has to outwait a key being given back.
constexpr useconds_t kKeyPauseUs = 6000;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// A window gone between the look and the press is no reason to end the program, which is
// what Xlib's own handler does.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

const char* KeyNameOf(std::uint16_t virtualKey) {
  return virtualKey == kEnterKey ? "Return" : "Tab";
}

// Each character goes as the key sequence that names its key symbol. A letter goes with
// Shift, which gives the capital on a key of the layout and on a lent key alike.
std::string KeySequenceOf(wchar_t character) {
  const char ascii = static_cast<char>(character);  // digits, A to F and ","
  if (ascii == ',') return "comma";
  if (ascii >= 'A' && ascii <= 'Z') return std::string("shift+") + ascii;
  return std::string(1, ascii);
}

// Caps Lock and the modifier keys the operator holds (Shift, Ctrl, Alt, AltGr) would turn
// the keys into capitals turned back, shortcuts or symbols: they are let go for the card and
// given back after it. Everything goes through the card's own connection, so the server
// takes the release, the keys and the return in that order.
class TModifiersSetAside {
 public:
  explicit TModifiersSetAside(xdo_t* xdo) : Xdo_(xdo) {
    XkbStateRec state{};
    CapsLock_ = XkbGetState(xdo->xdpy, XkbUseCoreKbd, &state) == Success &&
                (state.locked_mods & LockMask) != 0;
    if (CapsLock_) XkbLockModifiers(xdo->xdpy, XkbUseCoreKbd, LockMask, 0);
    XSync(xdo->xdpy, False);
    if (xdo_get_active_modifiers(xdo, &Held_, &HeldCount_) == XDO_SUCCESS && HeldCount_ > 0)
      xdo_clear_active_modifiers(xdo, CURRENTWINDOW, Held_, HeldCount_);
  }
  ~TModifiersSetAside() {
    if (HeldCount_ > 0) xdo_set_active_modifiers(Xdo_, CURRENTWINDOW, Held_, HeldCount_);
    std::free(Held_);
    if (CapsLock_) XkbLockModifiers(Xdo_->xdpy, XkbUseCoreKbd, LockMask, LockMask);
    XSync(Xdo_->xdpy, False);
  }
  TModifiersSetAside(const TModifiersSetAside&) = delete;
  TModifiersSetAside& operator=(const TModifiersSetAside&) = delete;

 private:
  xdo_t* Xdo_;
  charcodemap_t* Held_ = nullptr;
  int HeldCount_ = 0;
  bool CapsLock_ = false;
};

}  // namespace

void SetOwnMenuOpen(bool open) { OwnMenuOpen = open; }

void SetOwnMenuCloser(std::function<void()> close) { OwnMenuCloser = std::move(close); }

TTypingSession PrepareTyping() {
  XInitThreads();
  XSetErrorHandler(IgnoreXError);
  Display* display = XOpenDisplay(nullptr);
  const bool opens = display != nullptr;
  if (opens) XCloseDisplay(display);
  TypingSession =
      TypingSessionOf(Environment("WAYLAND_DISPLAY"), Environment("XDG_SESSION_TYPE"), opens);
  return TypingSession;
}

// libxdo reads the keyboard map when it is made, and Xlib keeps what it learnt of the
// keyboard in the connection; the operator may have switched the layout since the last card,
// so each card gets a connection and a libxdo of its own, closed together after it.
namespace {
struct TXdoFree {
  void operator()(xdo_t* xdo) const { xdo_free(xdo); }
};
using TUniqueXdo = std::unique_ptr<xdo_t, TXdoFree>;
}  // namespace

// Letters the keyboard map lacks in every layout (Latin under a Russian-only layout) are
// lent a spare key for as long as the reader runs. libxdo would lend one for each press and
// take it back at once, and a program that reads the press after the key was taken back
// loses the letter.
struct TCardTyper::TLentKeys {
  Display* Connection = nullptr;
  std::vector<KeyCode> Lent;

  void Lend(const std::wstring& text) {
    int low = 0, high = 0;
    XDisplayKeycodes(Connection, &low, &high);
    int perKey = 0;
    KeySym* map =
        XGetKeyboardMapping(Connection, static_cast<KeyCode>(low), high - low + 1, &perKey);
    if (map == nullptr) return;
    const auto keyOf = [&](KeySym wanted) {
      for (int i = 0; i < (high - low + 1) * perKey; ++i) {
        if (map[i] == wanted) return low + i / perKey;
      }
      return 0;
    };
    for (const wchar_t character : text) {
      if (character < L'A' || character > L'Z') continue;
      const KeySym upper = static_cast<KeySym>(character);
      if (keyOf(upper) != 0) continue;
      const int spare = SpareKey(map, low, high, perKey);
      if (spare == 0) break;
      KeySym pair[2] = {upper + (XK_a - XK_A), upper};
      XChangeKeyboardMapping(Connection, spare, 2, pair, 1);
      for (int level = 0; level < perKey; ++level) {
        map[(spare - low) * perKey + level] = level < 2 ? pair[level] : NoSymbol;
      }
      Lent.push_back(static_cast<KeyCode>(spare));
    }
    XFree(map);
    XSync(Connection, False);
  }

  // A key with nothing on it, from the top of the range where no real key sits.
  static int SpareKey(const KeySym* map, int low, int high, int perKey) {
    for (int key = high; key >= low; --key) {
      bool empty = true;
      for (int level = 0; level < perKey && empty; ++level)
        empty = map[(key - low) * perKey + level] == NoSymbol;
      if (empty) return key;
    }
    return 0;
  }

  ~TLentKeys() {
    if (Connection == nullptr) return;
    KeySym nothing[2] = {NoSymbol, NoSymbol};
    for (const KeyCode key : Lent) XChangeKeyboardMapping(Connection, key, 2, nothing, 1);
    XCloseDisplay(Connection);
  }
};

TCardTyper::TCardTyper() : Keys_(std::make_unique<TLentKeys>()) {
  if (TypingSession == TTypingSession::X11) Keys_->Connection = XOpenDisplay(nullptr);
}

TCardTyper::~TCardTyper() = default;

void TCardTyper::Type(CardCode code) {
  if (Keys_->Connection == nullptr) return;
  const TOutputSettings output = OutputSettingsNow();
  const std::wstring text = CardCodeText(code, output.Format, ReaderTypeNow());
  if (!CloseOwnMenus(Keys_->Connection)) return;
  Keys_->Lend(text);
  const TUniqueXdo made(xdo_new(nullptr));
  xdo_t* xdo = made.get();
  if (xdo == nullptr) return;
  Window focus = 0;
  if (xdo_get_focused_window_sane(xdo, &focus) != XDO_SUCCESS || focus == 0) return;
  // X11 shows no caret to anyone, so every card takes the way of typing without one, into
  // the focused window and never into one of ours.
  const TForeground foreground{.Exists = true,
                               .Ours = xdo_get_pid_window(xdo, focus) == getpid(),
                               .HasCaret = false,
                               .HasFocus = true};
  if (TypingRouteOf(foreground, true) != TTypingRoute::FocusedWindow) return;
  const TModifiersSetAside setAside(xdo);
  for (const TKeyEvent& event : FocusedWindowKeyEvents(text, output.Suffix, 0)) {
    if (event.Release) continue;  // libxdo presses and releases each key itself
    if (event.Unicode) {
      xdo_send_keysequence_window(
          xdo, CURRENTWINDOW, KeySequenceOf(static_cast<wchar_t>(event.Scan)).c_str(), kKeyPauseUs);
    } else {
      xdo_send_keysequence_window(xdo, CURRENTWINDOW, KeyNameOf(event.VirtualKey), kKeyPauseUs);
    }
  }
}
