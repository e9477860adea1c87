// UTF-8, the text of Linux file names and files, to and from the program's wide strings:
// UTF-32 on Linux, UTF-16 on Windows, where a character past U+FFFF is a surrogate pair.
#pragma once

#include <string>
#include <string_view>

std::string Utf8OfWide(const std::wstring& text);
// A byte that starts no valid sequence stands for itself, so no text is ever lost.
std::wstring WideOfUtf8(const std::string& text);

// The same over UTF-16 whatever the platform's wide character, so both are tested anywhere.
// A surrogate without its pair is written as it stands.
std::string Utf8OfUtf16(std::u16string_view text);
std::u16string Utf16OfUtf8(const std::string& text);
