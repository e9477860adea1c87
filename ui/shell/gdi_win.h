// Drawing-surface scopes, so every surface and every selection is put back on every path.
// The GDI objects themselves are owned through core/unique_handle_win.h.
#pragma once

#include <windows.h>

#include "core/unique_handle_win.h"

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

// One WM_PAINT's drawing surface, from BeginPaint to EndPaint.
class TPaintScope {
 public:
  explicit TPaintScope(HWND window) : Window_(window), Dc_(BeginPaint(window, &Paint_)) {}
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  ~TPaintScope() { EndPaint(Window_, &Paint_); }
  HDC Get() const { return Dc_; }

 private:
  HWND Window_;
  PAINTSTRUCT Paint_{};
  HDC Dc_;
};

// A window's drawing surface; with no window, the screen's.
class TWindowDc : public TUniqueWindowDc {
 public:
  explicit TWindowDc(HWND window) : TUniqueWindowDc(GetDC(window), {{}, window}) {}
};

class TScreenDc : public TWindowDc {
 public:
  TScreenDc() : TWindowDc(nullptr) {}
};

// A memory drawing surface compatible with another.
class TMemoryDc : public TUniqueMemoryDc {
 public:
  explicit TMemoryDc(HDC compatibleWith) : TUniqueMemoryDc(CreateCompatibleDC(compatibleWith)) {}
};
