// Wine's notepad as the other program the reader types into: found by its process, read and
// cleared through its edit control, and ended with the object however the test or benchmark
// ended.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/child_process.h"

class TNotepad {
 public:
  TNotepad();

  HWND Main() const { return Main_; }
  HWND Edit() const { return Edit_; }

  std::wstring Text() const;
  std::size_t TextLength() const;
  void Clear() const;
  // Asks once for notepad to come to the front and waits until its edit control shows the
  // caret (see BringToFront).
  bool Focus() const;

 private:
  TChildProcess Process_;
  HWND Main_ = nullptr;
  HWND Edit_ = nullptr;
};
