// The one hidden window that owns every drawn popup menu while it is tracked: it hands the
// menu's measure, draw, command and selection messages to the menu they belong to.
#pragma once

#include <windows.h>

class TDrawnPopupMenu;

inline constexpr wchar_t kMenuOwnerWindowClass[] = L"LintavoMenuOwner";

// Created with the first registered menu, destroyed with the last.
void RegisterDrawnMenu(TDrawnPopupMenu* menu);
void UnregisterDrawnMenu(TDrawnPopupMenu* menu);
HWND MenuOwnerWindow();
// Command ids shared by all drawn menus, so WM_COMMAND finds exactly one item.
UINT NextMenuCommandId();
