#include "tests/support/top_level_windows.h"

#include <string>

#include "tests/support/window_text.h"

namespace {

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

}  // namespace

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> all;
  EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&all));
  return all;
}

std::vector<HWND> TopLevelWindowsOfProcess(DWORD processId) {
  std::vector<HWND> found;
  for (HWND window : TopLevelWindows())
    if (ProcessOf(window) == processId && IsWindowVisible(window)) found.push_back(window);
  return found;
}

std::vector<HWND> VisibleTopLevels(const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND window : TopLevelWindows())
    if (ClassName(window) == className && IsWindowVisible(window)) found.push_back(window);
  return found;
}

HWND FindTopLevel(DWORD processId, const wchar_t* className, const wchar_t* caption) {
  for (HWND window : TopLevelWindows()) {
    if (ProcessOf(window) != processId || ClassName(window) != className) continue;
    if (caption == nullptr || WindowText(window) == caption) return window;
  }
  return nullptr;
}

HWND FindVisibleWindow(const wchar_t* className, const wchar_t* caption) {
  const HWND window = FindWindowW(className, caption);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

GUITHREADINFO GuiThreadOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info;
}
