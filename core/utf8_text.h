// UTF-8, the text of Linux file names and files, to and from the program's wide strings.
#pragma once

#include <string>

std::string Utf8OfWide(const std::wstring& text);
// A byte that starts no valid sequence stands for itself, so no text is ever lost.
std::wstring WideOfUtf8(const std::string& text);
