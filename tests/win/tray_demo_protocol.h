// What the tray demo and the tests that drive it agree on.
#pragma once

#include <windows.h>

inline constexpr wchar_t kTrayDemoClass[] = L"LintavoTrayDemo";
inline constexpr wchar_t kExitQuestionClass[] = L"TMessageForm";
inline constexpr UINT kTrayDemoSetPortFailed = WM_APP + 1;  // wParam: 1 failed, 0 open
inline constexpr UINT kTrayDemoMinimize = WM_APP + 2;
