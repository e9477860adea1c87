#include "tests/linux/key_window.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <stdexcept>

#include "tests/linux/x_session.h"

TKeyWindow::TKeyWindow() {
  Display_ = XOpenDisplay(nullptr);
  if (Display_ == nullptr) throw std::runtime_error("no X display");
  // Away from the program's main window, whose pixels the tests read.
  Window_ = XCreateSimpleWindow(Display_, DefaultRootWindow(Display_), 640, 420, 300, 120, 1, 0,
                                0xFFFFFF);
  XStoreName(Display_, Window_, "key window");
  XSelectInput(Display_, Window_, KeyPressMask | FocusChangeMask | StructureNotifyMask);
  XMapRaised(Display_, Window_);
  XSync(Display_, False);
  WaitUntil([this] {
    XWindowAttributes attributes;
    XGetWindowAttributes(Display_, Window_, &attributes);
    return attributes.map_state == IsViewable;
  }, 5s);
}

TKeyWindow::~TKeyWindow() {
  XDestroyWindow(Display_, Window_);
  XCloseDisplay(Display_);
}

// The window catches up with a layout just switched before any card comes, as a program
// that sat idle through the switch has.
void TKeyWindow::Focus() {
  XRaiseWindow(Display_, Window_);
  XSetInputFocus(Display_, Window_, RevertToParent, CurrentTime);
  XSync(Display_, False);
  while (XPending(Display_) > 0) {
    XEvent event;
    XNextEvent(Display_, &event);
    Take(event);
  }
  unsigned modifiers = 0;
  KeySym symbol = NoSymbol;
  XkbLookupKeySym(Display_, XKeysymToKeycode(Display_, XK_0), 0, &modifiers, &symbol);
}

void TKeyWindow::LockGroup(int group) {
  XkbLockGroup(Display_, XkbUseCoreKbd, static_cast<unsigned>(group));
  XSync(Display_, False);
}

void TKeyWindow::Take(XEvent& event) {
  if (event.type == MappingNotify) {
    XRefreshKeyboardMapping(&event.xmapping);
    return;
  }
  if (event.type != KeyPress) return;
  unsigned modifiers = 0;
  KeySym symbol = NoSymbol;
  XkbLookupKeySym(Display_, static_cast<KeyCode>(event.xkey.keycode), event.xkey.state, &modifiers,
                  &symbol);
  Presses_ += std::to_string(event.xkey.keycode) + "/" + std::to_string(event.xkey.state) + ":" +
              (XKeysymToString(symbol) != nullptr ? XKeysymToString(symbol) : "?") + " ";
  if (IsModifierKey(symbol)) return;
  if (symbol == XK_Return) {
    Text_ += '\n';
  } else if (symbol == XK_Tab) {
    Text_ += '\t';
  } else if (symbol >= 0x20 && symbol < 0x7F) {
    Text_ += static_cast<char>(symbol);
  } else {
    Text_ += '?';
  }
}

bool TKeyWindow::WaitLayout(const std::string& script) {
  constexpr KeyCode kQKey = 24;
  return WaitUntil([&] {
    XkbStateRec state{};
    XkbGetState(Display_, XkbUseCoreKbd, &state);
    XkbDescPtr keyboard = XkbGetMap(Display_, XkbKeySymsMask, XkbUseCoreKbd);
    if (keyboard == nullptr) return false;
    const KeySym symbol = XkbKeycodeToKeysym(Display_, kQKey, state.group, 0);
    XkbFreeKeyboard(keyboard, 0, True);
    const bool cyrillic = (symbol & 0xFF00) == 0x0600;
    return script == "cyrillic" ? cyrillic : symbol == XK_q;
  }, 5s);
}

std::string TKeyWindow::TextUntil(const std::string& tail, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!Text_.ends_with(tail)) {
    while (XPending(Display_) > 0) {
      XEvent event;
      XNextEvent(Display_, &event);
      Take(event);
    }
    if (Text_.ends_with(tail)) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd connection{ConnectionNumber(Display_), POLLIN, 0};
    poll(&connection, 1, static_cast<int>(std::min<long>(left.count(), 50)));
  }
  LastPresses_.swap(Presses_);
  Presses_.clear();
  std::string text;
  text.swap(Text_);
  return text;
}

std::string TKeyWindow::FocusHolder() {
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(Display_, &focus, &revert);
  if (focus == Window_) return "the key window";
  if (focus == None || focus == PointerRoot) return "no window";
  char* name = nullptr;
  std::string holder = "window " + std::to_string(focus);
  if (XFetchName(Display_, focus, &name) && name != nullptr) {
    holder += " \"" + std::string(name) + "\"";
    XFree(name);
  }
  return holder;
}
