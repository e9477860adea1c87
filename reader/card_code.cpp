#include "reader/card_code.h"

namespace {
constexpr CardCode kLow24Bits = 0xFFFFFF;
constexpr std::uint8_t kReader26Bit = 0;
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
