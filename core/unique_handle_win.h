// The one owner of every handle the program makes: a kernel object, a window, a menu, a
// GDI object, an icon, a library, a drawing surface. The policy says what "no handle" is
// and how to let one go; the owner does the rest the same way for all of them.
#pragma once

#include <windows.h>

#include <utility>

template <typename Policy>
class TUnique {
 public:
  using Handle = typename Policy::Handle;

  TUnique() = default;
  explicit TUnique(Handle handle, Policy policy = {})
      : Handle_(handle), Policy_(std::move(policy)) {}
  TUnique(const TUnique&) = delete;
  TUnique& operator=(const TUnique&) = delete;
  TUnique(TUnique&& other) noexcept
      : Handle_(other.Release()), Policy_(std::move(other.Policy_)) {}
  TUnique& operator=(TUnique&& other) noexcept {
    if (this != &other) {
      Reset();
      Policy_ = std::move(other.Policy_);
      Handle_ = other.Release();
    }
    return *this;
  }
  ~TUnique() { Reset(); }

  Handle Get() const { return Handle_; }
  bool Valid() const { return Policy::Valid(Handle_); }
  explicit operator bool() const { return Valid(); }
  // Gives the handle up without letting it go.
  Handle Release() { return std::exchange(Handle_, Handle{}); }
  // Lets the held handle go and takes another; false when the platform refused to let go.
  // While it is let go the owner still names it: a window's own handlers run then.
  bool Reset(Handle handle = Handle{}) {
    const bool closed = !Policy::Valid(Handle_) || Policy_.Close(Handle_);
    Handle_ = handle;
    return closed;
  }

 private:
  Handle Handle_{};
  [[no_unique_address]] Policy Policy_{};
};

// Handles that are pointers and empty when null.
template <typename T>
struct TNullIsEmpty {
  using Handle = T;
  static bool Valid(T handle) { return handle != nullptr; }
};

// Kernel objects: both values the platform uses for "no handle" count as empty.
struct TKernelHandlePolicy {
  using Handle = HANDLE;
  static bool Valid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  bool Close(HANDLE handle) const { return CloseHandle(handle) != FALSE; }
};

// A window may already be gone with its parent or owner; then there is nothing to destroy.
struct TWindowPolicy : TNullIsEmpty<HWND> {
  bool Close(HWND window) const { return !IsWindow(window) || DestroyWindow(window) != FALSE; }
};

struct TMenuPolicy : TNullIsEmpty<HMENU> {
  bool Close(HMENU menu) const { return DestroyMenu(menu) != FALSE; }
};

struct TIconPolicy : TNullIsEmpty<HICON> {
  bool Close(HICON icon) const { return DestroyIcon(icon) != FALSE; }
};

struct TLibraryPolicy : TNullIsEmpty<HMODULE> {
  bool Close(HMODULE module) const { return FreeLibrary(module) != FALSE; }
};

template <typename T>
struct TGdiObjectPolicy : TNullIsEmpty<T> {
  bool Close(T object) const { return DeleteObject(object) != FALSE; }
};

// A memory drawing surface, made by CreateCompatibleDC.
struct TMemoryDcPolicy : TNullIsEmpty<HDC> {
  bool Close(HDC dc) const { return DeleteDC(dc) != FALSE; }
};

// A drawing surface lent by a window (GetDC; no window for the screen's) goes back to it.
struct TWindowDcPolicy : TNullIsEmpty<HDC> {
  HWND Window = nullptr;
  bool Close(HDC dc) const { return ReleaseDC(Window, dc) != 0; }
};

using TUniqueHandle = TUnique<TKernelHandlePolicy>;
using TUniqueWindow = TUnique<TWindowPolicy>;
using TUniqueMenu = TUnique<TMenuPolicy>;
using TUniqueIcon = TUnique<TIconPolicy>;
using TUniqueLibrary = TUnique<TLibraryPolicy>;
template <typename T>
using TUniqueGdi = TUnique<TGdiObjectPolicy<T>>;
using TUniqueFont = TUniqueGdi<HFONT>;
using TUniqueBrush = TUniqueGdi<HBRUSH>;
using TUniquePen = TUniqueGdi<HPEN>;
using TUniqueBitmap = TUniqueGdi<HBITMAP>;
using TUniqueMemoryDc = TUnique<TMemoryDcPolicy>;
using TUniqueWindowDc = TUnique<TWindowDcPolicy>;
