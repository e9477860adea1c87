#include "ui/shell/exception_text.h"

std::wstring ExceptionReportText(std::wstring text) {
  if (!text.empty() && text.back() > L'.') text.push_back(L'.');
  return text;
}
