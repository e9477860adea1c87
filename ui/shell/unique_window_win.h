// Owns a window and destroys it.
#pragma once

#include <windows.h>

#include <utility>

class TUniqueWindow {
 public:
  TUniqueWindow() = default;
  explicit TUniqueWindow(HWND window) : Window_(window) {}
  TUniqueWindow(const TUniqueWindow&) = delete;
  TUniqueWindow& operator=(const TUniqueWindow&) = delete;
  TUniqueWindow(TUniqueWindow&& other) noexcept : Window_(std::exchange(other.Window_, nullptr)) {}
  TUniqueWindow& operator=(TUniqueWindow&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.Window_, nullptr));
    return *this;
  }
  ~TUniqueWindow() { Reset(); }

  HWND Get() const { return Window_; }
  explicit operator bool() const { return Window_ != nullptr; }
  void Reset(HWND window = nullptr) {
    if (Window_ != nullptr && IsWindow(Window_)) DestroyWindow(Window_);
    Window_ = window;
  }

 private:
  HWND Window_ = nullptr;
};

// A window's drawing surface, released with its owner.
class TWindowDc {
 public:
  explicit TWindowDc(HWND window) : Window_(window), Dc_(GetDC(window)) {}
  TWindowDc(const TWindowDc&) = delete;
  TWindowDc& operator=(const TWindowDc&) = delete;
  ~TWindowDc() { ReleaseDC(Window_, Dc_); }
  HDC Get() const { return Dc_; }

 private:
  HWND Window_;
  HDC Dc_;
};
