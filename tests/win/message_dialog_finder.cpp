// Another process looking for a dialog as the main window's exit request does: by class and
// caption. Presses the button with the given control id and exits 0, or exits 1 when no
// such window appears within five seconds.
//   message_dialog_finder CLASS CAPTION BUTTON_ID
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  for (int i = 0; i < 250; ++i) {
    const HWND found = FindWindowW(argv[1], argv[2]);
    if (found != nullptr && IsWindowVisible(found)) {
      PostMessageW(GetDlgItem(found, _wtoi(argv[3])), BM_CLICK, 0, 0);
      return 0;
    }
    Sleep(20);
  }
  return 1;
}
