#include "core/ini_value.h"

#include <algorithm>

namespace {

constexpr std::uint64_t kMaxPattern = 0xFFFFFFFFull;

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

bool IsDecimalDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Length of the hexadecimal prefix that starts the text, 0 when there is none. A bare "0"
// is a decimal zero, so "0x" only counts when the "x" follows.
std::size_t HexPrefixLength(std::wstring_view text) {
  if (text.starts_with(L'$') || text.starts_with(L'x') || text.starts_with(L'X')) return 1;
  if (text.starts_with(L"0x") || text.starts_with(L"0X")) return 2;
  return 0;
}

std::optional<std::int32_t> ParseHex(std::wstring_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (wchar_t c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint64_t>(d);
    if (value > kMaxPattern) return std::nullopt;
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> ParseDecimal(std::wstring_view text) {
  bool negative = false;
  if (text.starts_with(L'-') || text.starts_with(L'+')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  const std::uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
  std::uint64_t value = 0;
  for (wchar_t c : text) {
    if (!IsDecimalDigit(c)) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - L'0');
    if (value > limit) return std::nullopt;
  }
  const auto magnitude = static_cast<std::int64_t>(value);
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::wstring_view text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return std::nullopt;
  text.remove_prefix(first);
  if (const std::size_t prefix = HexPrefixLength(text)) return ParseHex(text.substr(prefix));
  return ParseDecimal(text);
}

std::int32_t IniIntegerOr(std::wstring_view text, std::int32_t fallback) {
  return ParseIniInteger(text).value_or(fallback);
}

std::wstring IniIntegerText(std::int32_t value) { return std::to_wstring(value); }

std::vector<std::wstring> PositionWords(std::wstring_view text) {
  constexpr std::wstring_view kSeparators = L", ";
  std::vector<std::wstring> words;
  std::size_t start = text.find_first_not_of(kSeparators);
  while (start != std::wstring_view::npos) {
    const std::size_t end = std::min(text.find_first_of(kSeparators, start), text.size());
    words.emplace_back(text.substr(start, end - start));
    start = text.find_first_not_of(kSeparators, end);
  }
  return words;
}
