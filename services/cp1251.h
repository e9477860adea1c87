// Code page 1251, the 8-bit Cyrillic encoding a translation provider speaks. Done by table
// so the provider boundary behaves the same on every build and can be tested on the host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

std::wstring Cp1251ToWide(std::string_view text);
// Characters the code page lacks become '?'.
std::string WideToCp1251(std::wstring_view text);
// None when the code page lacks any character of the text: for a path, a '?' would name
// another file.
std::optional<std::string> WideToCp1251Exact(std::wstring_view text);
