#include "tests/support/window_text.h"

namespace {

BOOL CALLBACK CollectChild(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

}  // namespace

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ControlText(HWND control) {
  wchar_t text[1024] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, &length);
  return std::wstring(text, length);
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND child : ChildWindows(parent))
    if (_wcsicmp(ClassName(child).c_str(), className) == 0) found.push_back(child);
  return found;
}

std::vector<std::wstring> ChildTexts(HWND parent) {
  std::vector<std::wstring> texts;
  for (HWND child : ChildWindows(parent)) texts.push_back(WindowText(child));
  return texts;
}

HWND ChildWithText(HWND parent, const std::wstring& text) {
  for (HWND child : ChildWindows(parent))
    if (WindowText(child) == text) return child;
  return nullptr;
}

std::wstring MessageBoxText(HWND box) {
  for (HWND label : ChildrenOfClass(box, L"Static"))
    if (std::wstring text = WindowText(label); !text.empty()) return text;
  return {};
}
