// The text window the number is typed into, apart from the program under test, writing what
// arrives into a file: an xterm running cat on a raw terminal, so what arrives is exactly what
// the key presses spelt under the keyboard layout of the moment, or a Qt field that takes its
// keys through IBus, as the GNOME and KDE desks run it.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/linux/x_session.h"

class TTextTarget {
 public:
  explicit TTextTarget(const std::string& folder);
  // The field `field` (a program of the tests) under a private ibus-daemon of its own.
  static TTextTarget ThroughIBus(const std::string& folder, const std::string& field);
  ~TTextTarget();
  TTextTarget(const TTextTarget&) = delete;
  TTextTarget& operator=(const TTextTarget&) = delete;

  // Gives the window the keyboard focus and makes sure the server has it.
  void Focus();
  // Switches the keyboard to group `group` (0 the first layout, 1 the second).
  void LockGroup(int group);
  // Waits until the key that types "q" under a US layout types a "latin" or a "cyrillic"
  // letter, by a fresh look at the server's keyboard.
  bool WaitLayout(const std::string& script);
  // What arrived since the last call, once it ends with `tail` or the time ran out; Enter
  // reads as "\n", Tab as "\t".
  std::string TextUntil(const std::string& tail, std::chrono::milliseconds limit);
  // Whether anything arrived since the last Take or TextUntil.
  bool Begun() const { return !Arrived().empty(); }
  // What arrived since the last call once it ends with `tail`; none, and nothing taken, before.
  std::optional<std::string> Take(const std::string& tail);
  // The window that holds the focus, by its title (for a failure's message).
  std::string FocusHolder();
  // The window's own (a window manager frames it in another).
  Window TargetWindow() const { return Window_; }
  // The test's own connection to the display, for looking at the screen.
  Display* Connection() const { return Display_; }

 private:
  // `writer`, titled `title`, writes what arrives to `file`; `daemon` is what it needs running.
  TTextTarget(const std::string& file, TChild daemon, const std::vector<std::string>& writer,
              const std::map<std::string, std::string>& env, const std::string& title);
  std::string Arrived() const;

  Display* Display_ = nullptr;
  std::string File_;
  std::size_t Read_ = 0;
  TChild Daemon_;
  TChild Writer_;
  Window Window_ = 0;
};
