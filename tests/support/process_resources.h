// What another process holds, counted from outside: kernel handles, windows, and GDI and
// USER objects where the system counts them.
#pragma once

#include <windows.h>

#include <optional>

// Kernel handles of the process, or -1 when they cannot be counted. Wine's
// GetProcessHandleCount answers 0 for every process, so they are counted in the system's
// handle list, which Wine does keep.
int KernelHandleCount(DWORD processId);

// The windows of the process, top-level and child alike.
int WindowCount(DWORD processId);

// The system's count of GDI or USER objects (GR_GDIOBJECTS, GR_USEROBJECTS), or none where
// the system does not count them (Wine 8 answers "not implemented").
std::optional<DWORD> GuiObjectCount(DWORD processId, DWORD kind);
