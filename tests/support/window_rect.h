// Where a window stands and how large it is, as the platform reports it.
#pragma once

#include <windows.h>

// The window's rectangle on the screen, frame included.
inline RECT OuterRect(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  return outer;
}

inline SIZE OuterSize(HWND window) {
  const RECT outer = OuterRect(window);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

inline SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

// A child's rectangle in its parent's client area.
inline RECT PlaceOf(HWND child) {
  RECT place = OuterRect(child);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&place), 2);
  return place;
}
