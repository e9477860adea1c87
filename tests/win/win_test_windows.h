// Small helpers for tests that look at windows from outside, as a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

inline std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

inline std::wstring ClassName(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

inline BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

inline std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&children));
  return children;
}

inline std::vector<std::wstring> ChildTexts(HWND parent) {
  std::vector<std::wstring> texts;
  for (HWND child : ChildWindows(parent)) texts.push_back(WindowText(child));
  return texts;
}

// Polls until find() gives a window or the time is up.
inline HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (const HWND window = find()) return window;
    Sleep(20);
  }
  return nullptr;
}

// The visible top-level windows of one process.
inline std::vector<HWND> TopLevelWindowsOfProcess(DWORD processId) {
  std::vector<HWND> all, found;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) found.push_back(window);
  }
  return found;
}
