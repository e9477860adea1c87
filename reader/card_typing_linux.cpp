#include "reader/card_typing_linux.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern "C" {
#include <xdo.h>
}

#include "core/utf8_text.h"
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
// given back after it. Everything goes through libxdo's connection, so the server takes the
// release, the keys and the return in that order; the return is waited for, so that the next
// card reads the keyboard as the operator left it.
class TModifiersSetAside {
 public:
  TModifiersSetAside(xdo_t* xdo, const XkbStateRec& state)
      : Xdo_(xdo), CapsLock_((state.locked_mods & LockMask) != 0) {
    if (CapsLock_) XkbLockModifiers(xdo->xdpy, XkbUseCoreKbd, LockMask, 0);
    // No modifier in the state, no key to look for (it costs a round trip).
    if (state.base_mods != 0 && xdo_get_active_modifiers(xdo, &Held_, &HeldCount_) == XDO_SUCCESS &&
        HeldCount_ > 0)
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

struct TXdoFree {
  void operator()(xdo_t* xdo) const { xdo_free(xdo); }
};
using TUniqueXdo = std::unique_ptr<xdo_t, TXdoFree>;

// The program's file name: its executable's, else the name the system shows for it (the
// executable of another user's process is not ours to look at).
std::wstring ProgramFileOf(pid_t pid) {
  const std::string process = "/proc/" + std::to_string(pid);
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink(process + "/exe", error);
  if (!error) return WideOfUtf8(exe.filename().string());
  std::string name;
  std::getline(std::ifstream(process + "/comm"), name);
  return WideOfUtf8(name);
}

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

// The reader's own display connection, the keys it lent and the libxdo that types, kept for
// the reader's life: making a connection and a libxdo costs more than the rest of a card's
// way to its first key. libxdo learns the keyboard map when it is made, so it is made anew
// when the map changed since (another set of layouts loaded, a key lent); it reads the layout
// chosen among the map's own as it types. The map's changes and the keyboard's state (Caps
// Lock, modifiers held) come as events on the connection and are read without a round trip.
//
// Letters the keyboard map lacks in every layout (Latin under a Russian-only layout) are lent
// a spare key for as long as the reader runs. libxdo would lend one for each press and take
// it back at once, and a program that reads the press after the key was taken back loses the
// letter.
struct TCardTyper::TKeyboard {
  // A toolkit's focus window sits a level or two inside its top-level one.
  static constexpr int kTopLevelDepth = 8;
  // Longer titles are cut at 4 KiB.
  static constexpr long kTitleLongs = 1024;

  Display* Connection = nullptr;
  int XkbEventType = -1;
  std::vector<KeyCode> Lent;
  // The letters the map had or was lent since it last changed.
  std::wstring Known;
  XkbStateRec State{};
  Atom PidName = None;
  Atom TitleName = None;
  Atom Utf8Name = None;
  // The last window found with the focus and whether it is ours; a window's maker never
  // changes while this program's connection to the display lives.
  Window LastFocus = None;
  bool LastFocusOurs = false;
  // The focus the card's keys went to, as read before them; none before the look.
  std::optional<Window> CardFocus;
  TUniqueXdo Xdo;

  void Open() {
    Connection = XOpenDisplay(nullptr);
    if (Connection == nullptr) return;
    int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (XkbQueryExtension(Connection, &opcode, &XkbEventType, &error, &major, &minor)) {
      const unsigned changes = XkbMapNotifyMask | XkbNewKeyboardNotifyMask;
      XkbSelectEvents(Connection, XkbUseCoreKbd, changes, changes);
      const unsigned state = XkbModifierBaseMask | XkbModifierLockMask;
      XkbSelectEventDetails(Connection, XkbUseCoreKbd, XkbStateNotify, state, state);
    }
    XkbGetState(Connection, XkbUseCoreKbd, &State);
    PidName = XInternAtom(Connection, "_NET_WM_PID", False);
    TitleName = XInternAtom(Connection, "_NET_WM_NAME", False);
    Utf8Name = XInternAtom(Connection, "UTF8_STRING", False);
    Ready(L"");
  }

  // Whether the focus is in one of this program's windows; nothing when no window has it.
  // The window with the focus mostly names its process itself; else libxdo looks for the
  // window it belongs to, which takes more round trips.
  std::optional<bool> FocusOurs() {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(Connection, &focus, &revert);
    CardFocus = focus;
    if (focus != None && focus == LastFocus) return LastFocusOurs;
    if (focus != None && focus != PointerRoot) {
      if (const auto pid = PidOf(focus)) {
        LastFocus = focus;
        LastFocusOurs = *pid == getpid();
        return LastFocusOurs;
      }
    }
    Window client = 0;
    if (xdo_get_focused_window_sane(Xdo.get(), &client) != XDO_SUCCESS || client == 0)
      return std::nullopt;
    return xdo_get_pid_window(Xdo.get(), client) == getpid();
  }

  std::optional<pid_t> PidOf(Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(Connection, window, PidName, 0, 1, False, XA_CARDINAL,
                                         &type, &format, &count, &left, &data) == Success;
    std::optional<pid_t> pid;
    if (read && data != nullptr && format == 32 && count == 1)
      pid = static_cast<pid_t>(*reinterpret_cast<const unsigned long*>(data));
    if (data != nullptr) XFree(data);
    return pid;
  }

  // The window the card went to as the operator knows it: the focus may sit in a window
  // inside the top-level one, which alone carries the title and the process. A card that
  // stopped before the look at the focus takes the focus of now.
  TCardTarget FocusTarget() {
    Window window = None;
    int revert = 0;
    if (CardFocus)
      window = *CardFocus;
    else
      XGetInputFocus(Connection, &window, &revert);
    CardFocus.reset();
    for (int depth = 0; depth < kTopLevelDepth && window != None && window != PointerRoot;
         ++depth) {
      std::wstring title = TitleOf(window);
      const std::optional<pid_t> pid = PidOf(window);
      if (!title.empty() || pid)
        return {std::move(title), pid ? ProgramFileOf(*pid) : std::wstring()};
      Window root = None, parent = None;
      Window* children = nullptr;
      unsigned count = 0;
      if (!XQueryTree(Connection, window, &root, &parent, &children, &count)) break;
      if (children != nullptr) XFree(children);
      window = parent == root ? None : parent;
    }
    return {};
  }

  // _NET_WM_NAME, else WM_NAME in whatever encoding the program set it.
  std::wstring TitleOf(Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(Connection, window, TitleName, 0, kTitleLongs, False, Utf8Name, &type,
                           &format, &count, &left, &data) == Success &&
        data != nullptr && format == 8)
      title.assign(reinterpret_cast<const char*>(data), count);
    if (data != nullptr) XFree(data);
    XTextProperty name{};
    if (title.empty() && XGetWMName(Connection, window, &name) && name.value != nullptr) {
      char** list = nullptr;
      int parts = 0;
      if (Xutf8TextPropertyToTextList(Connection, &name, &list, &parts) >= Success && list) {
        if (parts > 0) title = list[0];
        XFreeStringList(list);
      }
      XFree(name.value);
    }
    return WideOfUtf8(title);
  }

  // A libxdo that knows the keyboard as it is now, with every letter of the text on a key.
  xdo_t* Ready(const std::wstring& text) {
    if (Changed()) {
      Known.clear();
      Xdo.reset();
    }
    if (Lend(text)) {
      Changed();  // our own change, already known
      Xdo.reset();
    }
    if (Xdo == nullptr) Xdo.reset(xdo_new(nullptr));
    return Xdo.get();
  }

  // After a card, so that the next one finds the events of its keys taken in.
  void Settle() {
    XSync(Connection, False);
    Ready(L"");
  }

  // Takes in the events so far; true when the keyboard map changed.
  bool Changed() {
    bool changed = false;
    while (XPending(Connection) > 0) {
      XkbEvent event;
      XNextEvent(Connection, &event.core);
      if (event.type == XkbEventType && event.any.xkb_type == XkbStateNotify) {
        State.base_mods = static_cast<unsigned char>(event.state.base_mods);
        State.locked_mods = static_cast<unsigned char>(event.state.locked_mods);
      } else {
        changed = changed || event.type == MappingNotify || event.type == XkbEventType;
      }
    }
    return changed;
  }

  // True when it lent a key.
  bool Lend(const std::wstring& text) {
    const bool allKnown = std::ranges::all_of(text, [&](wchar_t character) {
      return character < L'A' || character > L'Z' || Known.find(character) != std::wstring::npos;
    });
    if (allKnown) return false;
    int low = 0, high = 0;
    XDisplayKeycodes(Connection, &low, &high);
    int perKey = 0;
    KeySym* map =
        XGetKeyboardMapping(Connection, static_cast<KeyCode>(low), high - low + 1, &perKey);
    if (map == nullptr) return false;
    const auto keyOf = [&](KeySym wanted) {
      for (int i = 0; i < (high - low + 1) * perKey; ++i) {
        if (map[i] == wanted) return low + i / perKey;
      }
      return 0;
    };
    bool lent = false;
    for (const wchar_t character : text) {
      if (character < L'A' || character > L'Z') continue;
      const KeySym upper = static_cast<KeySym>(character);
      if (keyOf(upper) == 0) {
        const int spare = SpareKey(map, low, high, perKey);
        if (spare == 0) break;
        KeySym pair[2] = {upper + (XK_a - XK_A), upper};
        XChangeKeyboardMapping(Connection, spare, 2, pair, 1);
        for (int level = 0; level < perKey; ++level) {
          map[(spare - low) * perKey + level] = level < 2 ? pair[level] : NoSymbol;
        }
        Lent.push_back(static_cast<KeyCode>(spare));
        lent = true;
      }
      if (Known.find(character) == std::wstring::npos) Known += character;
    }
    XFree(map);
    XSync(Connection, False);
    return lent;
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

  ~TKeyboard() {
    Xdo.reset();
    if (Connection == nullptr) return;
    KeySym nothing[2] = {NoSymbol, NoSymbol};
    for (const KeyCode key : Lent) XChangeKeyboardMapping(Connection, key, 2, nothing, 1);
    XCloseDisplay(Connection);
  }
};

TCardTyper::TCardTyper() : Keys_(std::make_unique<TKeyboard>()) {
  if (TypingSession == TTypingSession::X11) Keys_->Open();
}

TCardTyper::~TCardTyper() = default;

TCardOutcome TCardTyper::Type(CardCode code) {
  const TOutputSettings output = OutputSettingsNow();
  const std::uint8_t readerType = ReaderTypeNow();
  TCardOutcome outcome{{code, output.Format, readerType}, {}};
  outcome.Card.Reason = TypeText(CardCodeText(code, output.Format, readerType), output.Suffix);
  // Looked at once the keys are out, so the card's typing waits for none of it; the focus
  // itself was read before them, as the operator may have moved it since.
  if (Keys_->Connection != nullptr) outcome.Target = Keys_->FocusTarget();
  return outcome;
}

TNotTyped TCardTyper::TypeText(const std::wstring& text, TCardSuffix suffix) {
  if (Keys_->Connection == nullptr) return TNotTyped::NoSession;
  if (!CloseOwnMenus(Keys_->Connection)) return TNotTyped::OwnWindow;
  xdo_t* xdo = Keys_->Ready(text);
  if (xdo == nullptr) return TNotTyped::NoWindow;
  const std::optional<bool> ours = Keys_->FocusOurs();
  if (!ours) return TNotTyped::NoWindow;
  // X11 shows no caret to anyone, so every card takes the way of typing without one, into
  // the focused window and never into one of ours.
  const TForeground foreground{.Exists = true,
                               .Ours = *ours,
                               .HasCaret = false,
                               .HasFocus = true};
  if (TypingRouteOf(foreground, true) != TTypingRoute::FocusedWindow)
    return NowhereReason(foreground, true);
  {
    const TModifiersSetAside setAside(xdo, Keys_->State);
    for (const TKeyEvent& event : FocusedWindowKeyEvents(text, suffix, 0)) {
      if (event.Release) continue;  // libxdo presses and releases each key itself
      if (event.Unicode) {
        xdo_send_keysequence_window(xdo, CURRENTWINDOW,
                                    KeySequenceOf(static_cast<wchar_t>(event.Scan)).c_str(),
                                    kKeyPauseUs);
      } else {
        xdo_send_keysequence_window(xdo, CURRENTWINDOW, KeyNameOf(event.VirtualKey), kKeyPauseUs);
      }
    }
  }
  Keys_->Settle();
  return TNotTyped{};  // typed in full; X11 takes the name None for itself
}
