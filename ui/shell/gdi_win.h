// Owners for GDI objects and drawing-surface state, so every object is released on every path.
#pragma once

#include <windows.h>

#include <utility>

// Owns one GDI object (font, brush, pen, bitmap, region) and deletes it.
template <typename T>
class TUniqueGdi {
 public:
  TUniqueGdi() = default;
  explicit TUniqueGdi(T object) : Object_(object) {}
  TUniqueGdi(const TUniqueGdi&) = delete;
  TUniqueGdi& operator=(const TUniqueGdi&) = delete;
  TUniqueGdi(TUniqueGdi&& other) noexcept : Object_(std::exchange(other.Object_, nullptr)) {}
  TUniqueGdi& operator=(TUniqueGdi&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.Object_, nullptr));
    return *this;
  }
  ~TUniqueGdi() { Reset(); }

  T Get() const { return Object_; }
  explicit operator bool() const { return Object_ != nullptr; }
  void Reset(T object = nullptr) {
    if (Object_ != nullptr) DeleteObject(Object_);
    Object_ = object;
  }

 private:
  T Object_ = nullptr;
};

using TUniqueFont = TUniqueGdi<HFONT>;
using TUniqueBrush = TUniqueGdi<HBRUSH>;
using TUniquePen = TUniqueGdi<HPEN>;
using TUniqueBitmap = TUniqueGdi<HBITMAP>;

// Selects an object into a drawing surface and puts the previous one back.
class TSelectObjectScope {
 public:
  TSelectObjectScope(HDC dc, HGDIOBJ object) : Dc_(dc), Previous_(SelectObject(dc, object)) {}
  TSelectObjectScope(const TSelectObjectScope&) = delete;
  TSelectObjectScope& operator=(const TSelectObjectScope&) = delete;
  ~TSelectObjectScope() { SelectObject(Dc_, Previous_); }

 private:
  HDC Dc_;
  HGDIOBJ Previous_;
};

// Saves a drawing surface's whole state and restores it.
class TSaveDcScope {
 public:
  explicit TSaveDcScope(HDC dc) : Dc_(dc), Saved_(SaveDC(dc)) {}
  TSaveDcScope(const TSaveDcScope&) = delete;
  TSaveDcScope& operator=(const TSaveDcScope&) = delete;
  ~TSaveDcScope() { RestoreDC(Dc_, Saved_); }

 private:
  HDC Dc_;
  int Saved_;
};

// A memory drawing surface compatible with another, deleted with its owner.
class TMemoryDc {
 public:
  explicit TMemoryDc(HDC compatibleWith) : Dc_(CreateCompatibleDC(compatibleWith)) {}
  TMemoryDc(const TMemoryDc&) = delete;
  TMemoryDc& operator=(const TMemoryDc&) = delete;
  ~TMemoryDc() {
    if (Dc_ != nullptr) DeleteDC(Dc_);
  }
  HDC Get() const { return Dc_; }

 private:
  HDC Dc_;
};

// The screen's drawing surface, released with its owner.
class TScreenDc {
 public:
  TScreenDc() : Dc_(GetDC(nullptr)) {}
  TScreenDc(const TScreenDc&) = delete;
  TScreenDc& operator=(const TScreenDc&) = delete;
  ~TScreenDc() { ReleaseDC(nullptr, Dc_); }
  HDC Get() const { return Dc_; }

 private:
  HDC Dc_;
};
