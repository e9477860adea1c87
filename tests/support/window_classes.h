// The window classes tests look for from outside: the program's own as other programs see
// them, and the platform's.
#pragma once

namespace window_class {

inline constexpr wchar_t kMainForm[] = L"TLintavoForm";
inline constexpr wchar_t kApplication[] = L"TApplication";
inline constexpr wchar_t kMessageForm[] = L"TMessageForm";
inline constexpr wchar_t kSetupForm[] = L"TSetupForm";
inline constexpr wchar_t kToolBar[] = L"LintavoToolBar";
inline constexpr wchar_t kHelpViewer[] = L"QvmHelpViewer";
inline constexpr wchar_t kDialog[] = L"#32770";
inline constexpr wchar_t kPopupMenu[] = L"#32768";
// The task bar of the rig's Wine desktop, which draws the notification area at its right.
inline constexpr wchar_t kTaskBar[] = L"Shell_TrayWnd";

}  // namespace window_class
