// about.dll: the product's about box. One export, show_about, which returns only when the
// box has been closed, since the program unloads the library right after the call.
#include <windows.h>

#include "about_ids.h"

namespace {

HINSTANCE Module = nullptr;

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_SETICON,
                          reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_INFORMATION)), 0);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) Module = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) void show_about() {
  DialogBoxParamW(Module, MAKEINTRESOURCEW(IDD_ABOUT), GetActiveWindow(), AboutProc, 0);
}
