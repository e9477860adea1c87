// The program's standard error report: a modal box with the stop icon, the application
// title as caption and the error's text.
#pragma once

#include <string>

void ShowErrorReport(const std::wstring& text);
