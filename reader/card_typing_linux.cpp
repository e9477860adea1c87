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

std::string Utf8Of(wchar_t character) {
  // The number's text is digits, A to F and ",": all ASCII.
  return std::string(1, static_cast<char>(character));
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

struct TCardTyper::TXdo {
  xdo_t* Handle = nullptr;
  ~TXdo() {
    if (Handle != nullptr) xdo_free(Handle);
  }
};

TCardTyper::TCardTyper() : Xdo_(std::make_unique<TXdo>()) {
  if (TypingSession == TTypingSession::X11) Xdo_->Handle = xdo_new(nullptr);
}

TCardTyper::~TCardTyper() = default;

void TCardTyper::Type(CardCode code) {
  xdo_t* xdo = Xdo_->Handle;
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
  std::string characters;
  for (const TKeyEvent& event : FocusedWindowKeyEvents(text, output.Suffix, 0)) {
    if (event.Release) continue;  // libxdo presses and releases each key itself
    if (event.Unicode) {
      characters += Utf8Of(static_cast<wchar_t>(event.Scan));
      continue;
    }
    xdo_enter_text_window(xdo, CURRENTWINDOW, characters.c_str(), kKeyPauseUs);
    characters.clear();
    xdo_send_keysequence_window(xdo, CURRENTWINDOW, KeyNameOf(event.VirtualKey), kKeyPauseUs);
  }
  if (!characters.empty()) xdo_enter_text_window(xdo, CURRENTWINDOW, characters.c_str(), kKeyPauseUs);
}
