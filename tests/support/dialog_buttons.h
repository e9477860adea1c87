// Pressing a dialog's button from outside as the operator would.
#pragma once

#include <windows.h>

// Posts BM_CLICK to the button with the caption once the dialog is on the screen and the
// button exists and can be pressed (a dialog is found before its buttons are made); a
// posted click leaves the dialog's own loop free to act on it.
bool PressButton(HWND dialog, const wchar_t* caption, DWORD timeoutMs = 15'000);
