// Finding top-level windows from outside: by process, by class and caption, visible or not.
#pragma once

#include <windows.h>

#include <vector>

// Every top-level window on the desktop, whoever owns it.
std::vector<HWND> TopLevelWindows();
// The visible top-level windows of one process.
std::vector<HWND> TopLevelWindowsOfProcess(DWORD processId);
// The visible top-level windows of the class, whoever owns them.
std::vector<HWND> VisibleTopLevels(const wchar_t* className);

// The first top-level window of the process with the class (and the caption, when given),
// shown or not.
HWND FindTopLevel(DWORD processId, const wchar_t* className, const wchar_t* caption = nullptr);
// The window of the class and caption when it is on the screen, or nullptr.
HWND FindVisibleWindow(const wchar_t* className, const wchar_t* caption);

// What the window's thread has active, focused and holding the caret.
GUITHREADINFO GuiThreadOf(HWND window);
