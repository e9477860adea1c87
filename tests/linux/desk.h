// What every end-to-end test of the Linux edition stands on: the test program's own X session
// (started once, before the first test) and, in each test, the program reading a virtual
// reader beside a text window of the test's own.
#pragma once

// GoogleTest first: Xlib's macros would take its names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/linux/lintavo_run.h"
#include "tests/linux/screen_look.h"
#include "tests/linux/text_target.h"

inline constexpr auto kTypingLimit = 3s;

// The toolbar's "Установки" button, in the main window's coordinates, and the dialog it opens.
inline constexpr struct { int X, Y; } kSetupButton{30, 50};
inline constexpr char kSetupTitle[] = "Установки";

// A click of the mouse `button` at a point of the screen, through the server.
void ClickAt(Display* display, int x, int y, unsigned button = 1);
// Presses `keys` together and lets them go, as a shortcut is typed.
void PressKeys(Display* display, std::initializer_list<KeySym> keys);

TXSession& Session();

// Lintavo.ini reading `device`, the main window shown at start or hidden in the tray, and
// `extra` after the first settings.
std::string Ini(const std::string& device, const std::string& extra = "", bool inTray = false);

struct TDesk {
  // Starts the program with Ini(), as `user`, and waits until it reads.
  bool Start(const std::string& extra = "", bool inTray = false,
             const std::map<std::string, std::string>& env = {},
             const std::optional<TUser>& user = ProgramUser());
  // Presents `frame` with the focus in the text window: whether exactly `typed` arrived,
  // and if not, what did and which window held the focus.
  ::testing::AssertionResult Types(const std::vector<std::uint8_t>& frame,
                                   const std::string& typed);

  TScratch Scratch;
  TVirtualReader Reader{Scratch.Path()};
  TTextTarget Target{Scratch.Path()};
  Display* const Screen = Target.Connection();
  std::optional<TLintavo> Program;
};
