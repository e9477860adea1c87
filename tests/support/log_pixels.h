// The screen's DPI for programs started from now on: Wine reads it from the prefix's
// registry (HKCU\Control Panel\Desktop, LogPixels) when a program starts, and a running
// program keeps the value it read.
#pragma once

#include <windows.h>

#include <optional>

class TLogPixels {
 public:
  // Sets the DPI; the value found before is put back by Restore or at the latest by the
  // destructor, so a test that ends early leaves the prefix as it found it.
  explicit TLogPixels(DWORD dpi);
  ~TLogPixels() { Restore(); }
  TLogPixels(const TLogPixels&) = delete;
  TLogPixels& operator=(const TLogPixels&) = delete;

  bool Set() const { return Set_; }
  void Restore();

 private:
  bool Set_ = false;
  bool Restored_ = false;
  std::optional<DWORD> Before_;  // none: there was no value
};
