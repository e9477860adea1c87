// The text of the program's standard error report.
#pragma once

#include <string>

// The error's text, closed with "." when its last character sorts after ".".
std::wstring ExceptionReportText(std::wstring text);
