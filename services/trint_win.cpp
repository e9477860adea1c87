#include "services/trint_win.h"

#include <stdexcept>

namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

// A window destroyed during the pass is an error of the pass.
HWND Alive(HWND window) {
  if (!IsWindow(window)) throw std::runtime_error("window destroyed during translation");
  return window;
}

}  // namespace

TWindowForm::TWindowForm(HWND window) {
  Windows_.push_back(window);
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&Windows_));
}

std::wstring TWindowForm::Text(std::size_t index) {
  const HWND window = Alive(Windows_.at(index));
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void TWindowForm::SetText(std::size_t index, const std::wstring& text) {
  SetWindowTextW(Alive(Windows_.at(index)), text.c_str());
}

int TranslateForm(HWND window, bool finish) {
  // Unbound, the pass must not even look at the window.
  if (!ProviderBound()) return TranslateUnbound;
  TWindowForm form(window);
  return TranslateForm(form, finish);
}
