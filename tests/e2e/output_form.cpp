// A form of another program for the reader to type into: two single-line fields and a
// default button, in a modal dialog whose loop is the platform's own, as in most
// access-control programs. The default button does not close the form; it writes what the
// first field held when it was pressed, and how often it was, into the line below:
// "1: 3430008". The test reads the fields and that line from outside.
#include <windows.h>

#include <string>

#include "tests/e2e/output_form_ids.h"

namespace {

int Presses = 0;

std::wstring FieldText(HWND dialog, int id) {
  wchar_t text[256] = L"";
  GetDlgItemTextW(dialog, id, text, 256);
  return text;
}

INT_PTR CALLBACK FormProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;  // the focus goes to the first field
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK: {
      const std::wstring line =
          std::to_wstring(++Presses) + L": " + FieldText(dialog, IDC_FIRST_FIELD);
      SetDlgItemTextW(dialog, IDC_PRESSES, line.c_str());
      return TRUE;
    }
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return static_cast<int>(
      DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_OUTPUT_FORM), nullptr, FormProc, 0));
}
