// What another process holds, counted from outside: kernel handles, windows and GDI
// objects.
#pragma once

#include <windows.h>

// Kernel handles of the process, or -1 when they cannot be counted. Wine's
// GetProcessHandleCount answers 0 for every process, so they are counted in the system's
// handle list, which Wine does keep.
int KernelHandleCount(DWORD processId);

// The windows of the process, top-level and child alike.
int WindowCount(DWORD processId);

// The GDI objects the process holds, or -1 when they cannot be counted. Where the system
// does not count them (Wine answers GetGuiResources with "not implemented"), they are
// counted in the process's own handle table, which Wine keeps in its memory as Windows
// does: the table named in the 64-bit PEB, which a 32-bit process has a page below its own.
int GdiObjectCount(DWORD processId);
