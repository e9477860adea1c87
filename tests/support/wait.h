// Waiting for a condition that another thread or process brings about: polled, with a limit.
#pragma once

#include <windows.h>

#include <functional>

// Polls done every 20 ms; false when it is still not true after timeoutMs.
template <typename Predicate>
bool WaitUntil(Predicate done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

// Polls until find() gives a window; nullptr when it gave none within timeoutMs.
inline HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs = 5000) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = find()) != nullptr; }, timeoutMs);
  return found;
}
