#include "reader/card_code.h"

namespace {
constexpr CardCode kLow24Bits = 0xFFFFFF;
constexpr std::uint8_t kReader26Bit = 0;

constexpr int kFacilityShift = 16;
constexpr CardCode kNumberBits = 0xFFFF;
constexpr std::size_t kFacilityDigits = 3;
constexpr std::size_t kNumberDigits = 5;
constexpr std::size_t kHexDigits26 = 6;
constexpr std::size_t kHexDigits40 = 10;

std::wstring ZeroPadded(std::wstring digits, std::size_t width) {
  if (digits.size() < width) digits.insert(0, width - digits.size(), L'0');
  return digits;
}

std::wstring HexText(CardCode code) {
  constexpr wchar_t kHexDigits[] = L"0123456789ABCDEF";
  std::wstring reversed;
  do {
    reversed.push_back(kHexDigits[code % 16]);
    code /= 16;
  } while (code != 0);
  return {reversed.rbegin(), reversed.rend()};
}
}  // namespace

CardCode DecodeFrame(const TFrameBytes& frame, std::uint8_t readerType) {
  CardCode code = 0;
  for (std::uint8_t byte : frame) code = (code << 8) | byte;
  return readerType == kReader26Bit ? code & kLow24Bits : code;
}

std::wstring CardCodeText(CardCode code) {
  std::wstring reversed;
  do {
    reversed.push_back(static_cast<wchar_t>(L'0' + code % 10));
    code /= 10;
  } while (code != 0);
  return {reversed.rbegin(), reversed.rend()};
}

std::wstring CardCodeText(CardCode code, TCardFormat format, std::uint8_t readerType) {
  switch (format) {
    case TCardFormat::FacilityNumber:
      return ZeroPadded(CardCodeText(code >> kFacilityShift), kFacilityDigits) + L"," +
             ZeroPadded(CardCodeText(code & kNumberBits), kNumberDigits);
    case TCardFormat::Hexadecimal:
      return ZeroPadded(HexText(code), readerType == kReader26Bit ? kHexDigits26 : kHexDigits40);
    case TCardFormat::Decimal:
      break;
  }
  return CardCodeText(code);
}
