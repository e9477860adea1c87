#pragma once

#include <windows.h>

// True when this process may run: it now holds the single-copy section, or the section
// could not be created at all. False when another copy already holds it.
bool IsFirstInstance();

// The first copy tells later starts where its main window is.
void PublishMainWindow(HWND window);

// The message a later start posts to the running copy's main window to bring it up.
UINT ShowRunningCopyMessage();

// A later start, after its notice: lets the running copy take the front and asks its main
// window to come up. Only the window the section names, and only when it belongs to the
// process the section names; false when there is none such.
bool BringRunningCopyForward();
