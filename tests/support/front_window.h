// The window in front, as the platform tells any thread that asks, and bringing one there.
// The rig runs every program in one Wine desktop, where the front moves only when a program
// activates a window, as on Windows. A test therefore asks for the front once, after the
// programs it drives have finished activating windows of their own (a program starting, a
// dialog closing and handing the front back to its owner), and relies on it.
#pragma once

#include <windows.h>

#include <string>

// Asks once for `top` to come to the front, then waits until the platform shows it there
// with its thread's caret in `caret` (nullptr: no caret in that thread). False when that
// did not happen within timeoutMs; DescribeFront() then says what held the front.
bool BringToFront(HWND top, HWND caret, DWORD timeoutMs = 5000);

// What holds the front, for failure messages: the class, caption and process of the
// window in front, and the classes of its thread's focus and caret windows.
std::wstring DescribeFront();
