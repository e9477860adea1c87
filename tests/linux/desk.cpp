// GoogleTest first: Xlib's macros would take its names.
#include <gtest/gtest.h>

#include "tests/linux/desk.h"

// After GoogleTest, whose names Xlib's macros would take.
#include <X11/extensions/XTest.h>

namespace {

TXSession* Current = nullptr;

// A window that went or is not up yet is no reason to end the test program, which is what
// Xlib's own handler does: the look at it finds nothing, and the check says so.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

class TSessionEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    XSetErrorHandler(IgnoreXError);
    Current = new TXSession();
  }
  void TearDown() override {
    delete Current;
    Current = nullptr;
  }
};
const auto* const kSession = ::testing::AddGlobalTestEnvironment(new TSessionEnvironment);

}  // namespace

TXSession& Session() { return *Current; }

void ClickAt(Display* display, int x, int y, unsigned button) {
  XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
  XTestFakeButtonEvent(display, button, True, CurrentTime);
  XTestFakeButtonEvent(display, button, False, CurrentTime);
  XSync(display, False);
}

void PressKeys(Display* display, std::initializer_list<KeySym> keys) {
  for (const KeySym key : keys)
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), True, CurrentTime);
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, *key), False, CurrentTime);
  XSync(display, False);
}

std::string Ini(const std::string& device, const std::string& extra, bool inTray) {
  return std::string("[SETTINGS]\nMinimizeOnRun=") + (inTray ? "1" : "0") +
         "\nCheckExit=0\nPortDevice=" + device + "\n" + extra;
}

bool TDesk::Start(const std::string& extra, bool inTray,
                  const std::map<std::string, std::string>& env, const std::optional<TUser>& user) {
  Program.emplace(Scratch, Ini(Reader.Device(), extra, inTray), env, user);
  return Program->WaitReading(Screen);
}

::testing::AssertionResult TDesk::Types(const std::vector<std::uint8_t>& frame,
                                        const std::string& typed) {
  Target.Focus();
  Reader.Present(frame);
  const std::string arrived = Target.TextUntil(typed, kTypingLimit);
  if (arrived == typed) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << arrived << "\" arrived for \"" << typed
                                       << "\", focus on " << Target.FocusHolder();
}
