// The Windows policies of the one handle owner: what each kind of handle is let go by.
#pragma once

#include <windows.h>

#include "core/unique.h"

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
