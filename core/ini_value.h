// How the settings file spells numbers. Shared by the settings and the window placement.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Optional leading blanks, then a decimal number with an optional sign inside the signed
// 32-bit range, or an unsigned hexadecimal number after "$", "x", "X", "0x" or "0X" taken as
// a 32-bit pattern ($FFFFFFFF is -1). Anything else is not a number.
std::optional<std::int32_t> ParseIniInteger(std::wstring_view text);

std::int32_t IniIntegerOr(std::wstring_view text, std::int32_t fallback);

std::wstring IniIntegerText(std::int32_t value);

// The words of a position text such as "279,117,620,317": the maximal runs of characters
// other than comma and space, so "1, 2,,3 4" has the words 1, 2, 3 and 4.
std::vector<std::wstring> PositionWords(std::wstring_view text);
