// The localization hook's view of real windows: a window's caption and the texts of its
// child controls, in creation order.
#pragma once

#include <windows.h>

#include <vector>

#include "services/trint.h"

class TWindowForm : public TTranslatableForm {
 public:
  explicit TWindowForm(HWND window);
  std::size_t TextCount() override { return Windows_.size(); }
  std::wstring Text(std::size_t index) override;
  void SetText(std::size_t index, const std::wstring& text) override;

 private:
  std::vector<HWND> Windows_;  // the window first, then its children
};

// Offers one window to the hook.
int TranslateForm(HWND window, bool finish);
