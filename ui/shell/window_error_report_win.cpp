#include "ui/shell/window_error_report_win.h"

#include <windows.h>

#include <exception>

#include "ui/shell/application_win.h"
#include "ui/shell/texts.h"

std::wstring WideFromUtf8(const char* text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length - 1));
  return wide;
}

void ReportCurrentException(const TErrorReport& report) noexcept {
  if (!report) return;
  try {
    try {
      throw;
    } catch (const std::exception& error) {
      report(WideFromUtf8(error.what()));
    } catch (...) {
      report(kUnknownError);
    }
  } catch (...) {
    // The report itself failed; a window procedure must still return.
  }
}

void ReportToApplication(const std::wstring& text) { Application.ShowException(text); }
