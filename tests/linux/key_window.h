// A text window of the test's own X connection, apart from the program under test: it takes
// the keyboard focus and writes down what the key presses it receives spell, as a program
// reading them by the keyboard map of the moment would.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <string>

class TKeyWindow {
 public:
  TKeyWindow();
  ~TKeyWindow();
  TKeyWindow(const TKeyWindow&) = delete;
  TKeyWindow& operator=(const TKeyWindow&) = delete;

  // Gives this window the keyboard focus and makes sure the server has it.
  void Focus();
  // Switches the keyboard to group `group` (0 the first layout, 1 the second).
  void LockGroup(int group);
  // Waits until the key that types "q" under a US layout types a "latin" or a "cyrillic"
  // letter, by a fresh look at the server's keyboard.
  bool WaitLayout(const std::string& script);
  // Reads key presses until the text typed so far ends with `tail` or the time runs out;
  // returns all that arrived since the last call ("\n" for Enter, "\t" for Tab, "?" for a
  // key that means nothing).
  std::string TextUntil(const std::string& tail, std::chrono::milliseconds limit);
  // The window that holds the focus, by its title (for a failure's message).
  std::string FocusHolder();
  Display* Connection() const { return Display_; }
  // The presses behind the last text: keycode/state:keysym each.
  const std::string& LastPresses() const { return LastPresses_; }

 private:
  void Take(XEvent& event);

  Display* Display_ = nullptr;
  Window Window_ = 0;
  std::string Text_;
  std::string Presses_;
  std::string LastPresses_;
};
