// Code page 1251, the 8-bit Cyrillic encoding a translation provider speaks. Done by table
// so the provider boundary behaves the same on every build and can be tested on the host.
#pragma once

#include <string>
#include <string_view>

std::wstring Cp1251ToWide(std::string_view text);
// Characters the code page lacks become '?'.
std::string WideToCp1251(std::wstring_view text);
