// The about box, shown by the companion library about.dll.
#pragma once

inline constexpr wchar_t kAboutLibrary[] = L"about.dll";
inline constexpr char kAboutExport[] = "show_about";

// Loads the library, shows its modal about box and unloads it again; a missing library or
// export is reported in a message box. GUI thread.
void ShowAbout();
