// What a window says and is, read from outside as a user would see it: its text, its class
// and its child controls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// The text a control of another process keeps itself (an edit's): asked of the control, since
// WindowText gives only what the window was made with there.
std::wstring ControlText(HWND control);

// Every child of the window at any depth, in the order the platform lists them.
std::vector<HWND> ChildWindows(HWND parent);
std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* className);
std::vector<std::wstring> ChildTexts(HWND parent);
// The first child showing exactly this text, or nullptr.
HWND ChildWithText(HWND parent, const std::wstring& text);
inline bool HasChildText(HWND parent, const std::wstring& text) {
  return ChildWithText(parent, text) != nullptr;
}

// The text of a message box, or the first line a dialog shows: its first static control
// with text (a message box's icon has none).
std::wstring MessageBoxText(HWND box);
