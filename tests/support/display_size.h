// The screen's size switched for a test and always put back to the size it was found at.
#pragma once

#include <windows.h>

#include <optional>

class TDisplaySize {
 public:
  TDisplaySize();
  ~TDisplaySize();
  TDisplaySize(const TDisplaySize&) = delete;
  TDisplaySize& operator=(const TDisplaySize&) = delete;

  SIZE Original() const { return Original_; }
  // The largest size the display offers besides the original one, if any.
  std::optional<SIZE> OtherOffered() const;
  // True when the screen has that size afterwards.
  bool Switch(SIZE size);

 private:
  SIZE Original_{};
  bool Changed_ = false;
};
