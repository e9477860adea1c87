// about.dll: the product's about box. One export, show_about, which returns only when the
// box has been closed, since the program unloads the library right after the call.
#include <windows.h>

#include "about_ids.h"
#include "core/unique_handle_win.h"

namespace {

HINSTANCE Module = nullptr;
TUniqueFont BoxFont;  // while the box is open

// The box's font with the Cyrillic character set, as the template asks: a dialog manager
// may make it with the default set, which on a Western system may lack the letters.
void UseCyrillicFont(HWND dialog) {
  const auto shown = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW font{};
  if (shown == nullptr || GetObjectW(shown, sizeof font, &font) == 0) return;
  font.lfCharSet = RUSSIAN_CHARSET;
  BoxFont.Reset(CreateFontIndirectW(&font));
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(BoxFont.Get()), FALSE);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_SETICON,
                          reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_INFORMATION)), 0);
      UseCyrillicFont(dialog);
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
  BoxFont.Reset();
}
