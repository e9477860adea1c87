#include "services/cp1251.h"

#include <array>
#include <cstdint>

namespace {

// Bytes 0x80 to 0xBF; 0xC0 to 0xFF are the 64 letters А..я in Unicode order. 0x98 has no
// character and maps to the control code of the same value, as Windows maps it.
constexpr std::array<char16_t, 64> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

constexpr std::uint8_t kFirstLetterByte = 0xC0;
constexpr char16_t kFirstLetter = 0x0410;
constexpr char16_t kLastLetter = 0x044F;

wchar_t ByteToWide(std::uint8_t byte) {
  if (byte < 0x80) return byte;
  if (byte >= kFirstLetterByte)
    return static_cast<wchar_t>(kFirstLetter + (byte - kFirstLetterByte));
  return kUpperHalf[byte - 0x80];
}

std::optional<char> WideToByte(wchar_t ch) {
  if (ch < 0x80) return static_cast<char>(ch);
  if (ch >= kFirstLetter && ch <= kLastLetter) {
    return static_cast<char>(kFirstLetterByte + (ch - kFirstLetter));
  }
  for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
    if (kUpperHalf[i] == ch) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace

std::wstring Cp1251ToWide(std::string_view text) {
  std::wstring wide;
  wide.reserve(text.size());
  for (char c : text) wide.push_back(ByteToWide(static_cast<std::uint8_t>(c)));
  return wide;
}

std::string WideToCp1251(std::wstring_view text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (wchar_t c : text) narrow.push_back(WideToByte(c).value_or('?'));
  return narrow;
}

std::optional<std::string> WideToCp1251Exact(std::wstring_view text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (wchar_t c : text) {
    const std::optional<char> byte = WideToByte(c);
    if (!byte) return std::nullopt;
    narrow.push_back(*byte);
  }
  return narrow;
}
