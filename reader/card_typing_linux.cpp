#include "reader/card_typing_linux.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern "C" {
#include <xdo.h>
}

#include "reader/typing_plan.h"

TTypingSession TypingSession = TTypingSession::NoDisplay;

namespace {

// Microseconds between two key presses. libxdo lends a spare key to a character the
// layout lacks (Latin letters under a Russian layout) and gives it back after the press;
// the pause lets the target read the press while the key still means that character.
constexpr useconds_t kKeyPauseUs = 3000;

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
// Shift: libxdo lends a spare key to a letter the layout lacks (Latin under a Russian
// layout), and a lent key with one letter on it types the small letter unless Shift is down.
std::string KeySequenceOf(wchar_t character) {
  const char ascii = static_cast<char>(character);  // digits, A to F and ","
  if (ascii == ',') return "comma";
  if (ascii >= 'A' && ascii <= 'Z') return std::string("shift+") + ascii;
  return std::string(1, ascii);
}

}  // namespace

TTypingSession PrepareTyping() {
  XInitThreads();
  XSetErrorHandler(IgnoreXError);
  Display* display = XOpenDisplay(nullptr);
  const bool opens = display != nullptr;
  if (opens) XCloseDisplay(display);
  TypingSession = TypingSessionOf(Environment("WAYLAND_DISPLAY"), Environment("XDG_SESSION_TYPE"),
                                  opens);
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

struct TCardTyper::TXdo {
  bool Session = false;
};

TCardTyper::TCardTyper() : Xdo_(std::make_unique<TXdo>()) {
  Xdo_->Session = TypingSession == TTypingSession::X11;
}

TCardTyper::~TCardTyper() = default;

void TCardTyper::Type(CardCode code) {
  if (!Xdo_->Session) return;
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
  const TOutputSettings output = OutputSettingsNow();
  const std::wstring text = CardCodeText(code, output.Format, ReaderTypeNow());
  for (const TKeyEvent& event : FocusedWindowKeyEvents(text, output.Suffix, 0)) {
    if (event.Release) continue;  // libxdo presses and releases each key itself
    if (event.Unicode) {
      xdo_send_keysequence_window(xdo, CURRENTWINDOW, KeySequenceOf(static_cast<wchar_t>(event.Scan)).c_str(),
                                  kKeyPauseUs);
    } else {
      xdo_send_keysequence_window(xdo, CURRENTWINDOW, KeyNameOf(event.VirtualKey), kKeyPauseUs);
    }
  }
}
