// How the program's hidden service windows hand an error on: to a report the owner supplies
// (the application's standard error report), so nothing escapes a window procedure.
#pragma once

#include <functional>
#include <string>

using TErrorReport = std::function<void(const std::wstring&)>;

// Call from inside a catch block: gives the error being handled to the report.
void ReportCurrentException(const TErrorReport& report) noexcept;

// The application's standard error report, where a window's error goes unless the window
// names another.
void ReportToApplication(const std::wstring& text);

// An exception's text, which the program writes in UTF-8, as the platform's wide text.
std::wstring WideFromUtf8(const char* text);
