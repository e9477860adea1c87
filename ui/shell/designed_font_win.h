// The fonts of the program's own windows. Every one carries the Cyrillic character set, so
// the Russian texts show whatever the system's language for non-Unicode programs is; the
// designed windows ask for the face every Windows maps to its dialog font ("MS Shell Dlg 2",
// a TrueType face that stays sharp at any scaling).
#pragma once

#include <windows.h>

#include "core/unique_handle_win.h"

inline constexpr wchar_t kDesignedFontFace[] = L"MS Shell Dlg 2";
inline constexpr int kDesignedFontPoints = 8;

// The designed windows' font of `points` at the DPI.
LOGFONTW DesignedLogFont(int points, int dpi);
TUniqueFont CreateDesignedFont(int points, int dpi);

// One of the system's fonts (message, menu) as the program asks for it: Cyrillic.
LOGFONTW WithCyrillic(LOGFONTW font);
