#include "ui/shell/message_filter_win.h"

namespace {

// Windows 7 and later: for one window.
using TChangeWindowMessageFilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
// Windows Vista: for the whole process.
using TChangeWindowMessageFilter = BOOL(WINAPI*)(UINT, DWORD);

template <typename Function>
Function User32Export(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

}  // namespace

void LetMessageThrough(HWND window, UINT message) {
  static const auto forWindow =
      User32Export<TChangeWindowMessageFilterEx>("ChangeWindowMessageFilterEx");
  static const auto forProcess =
      User32Export<TChangeWindowMessageFilter>("ChangeWindowMessageFilter");
  if (forWindow != nullptr) {
    forWindow(window, message, MSGFLT_ALLOW, nullptr);
  } else if (forProcess != nullptr) {
    forProcess(message, MSGFLT_ADD);
  }
}
