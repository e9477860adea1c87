// Another process looking for a dialog as the main window's exit request does: by class and
// caption. Presses the button with the given control id and exits 0, or exits 1 when no
// such window appears within five seconds.
//   message_dialog_finder CLASS CAPTION BUTTON_ID
#include <windows.h>

#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  const HWND found = WaitForWindow([&] { return FindVisibleWindow(argv[1], argv[2]); }, 5000);
  if (found == nullptr) return 1;
  PostMessageW(GetDlgItem(found, _wtoi(argv[3])), BM_CLICK, 0, 0);
  return 0;
}
