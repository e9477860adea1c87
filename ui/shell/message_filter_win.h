// Letting a message from a less privileged program through to a window of this one: a copy
// run as administrator otherwise never hears a normal second start, nor Explorer's
// "TaskbarCreated". Looked up at run time, so that the program still starts on Windows Vista,
// which has only the process-wide form.
#pragma once

#include <windows.h>

// Nothing happens where the system has no such filter (it then lets everything through).
void LetMessageThrough(HWND window, UINT message);
