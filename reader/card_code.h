// A card number as the reader's frame carries it, and the digits typed for it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/common.h"

// Only the low 40 bits can be set (the low 24 for the 26-bit reader).
using CardCode = std::uint64_t;

constexpr int kFrameSize = 5;
using TFrameBytes = std::array<std::uint8_t, kFrameSize>;

// Reader type 0 is the 26-bit reader, whose number is the low 24 bits; every other value is
// read as the 40/42-bit reader. Byte 0 is the first byte received and the most significant.
CardCode DecodeFrame(const TFrameBytes& frame, std::uint8_t readerType);

// Decimal digits only: no sign, no leading zeros, "0" for zero.
std::wstring CardCodeText(CardCode code);

// The number as the operator's program shows it:
// - Decimal: as above.
// - FacilityNumber: the facility (bits 16 and up) as at least three digits, a comma, then
//   bits 0..15 as five digits: "052,22136". A 40-bit card keeps its bits 24..39 in the
//   facility, which then grows past three digits ("4660,22136"), rather than losing them and
//   typing the same text for different cards; with those bits zero it reads as the 26-bit
//   card it carries.
// - Hexadecimal: upper case, zero-padded to the reader's width: 10 digits for the 40/42-bit
//   reader, 6 for the 26-bit one.
std::wstring CardCodeText(CardCode code, TCardFormat format, std::uint8_t readerType);
