// A card number as the reader's frame carries it, and the digits typed for it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Only the low 40 bits can be set (the low 24 for the 26-bit reader).
using CardCode = std::uint64_t;

constexpr int kFrameSize = 5;
using TFrameBytes = std::array<std::uint8_t, kFrameSize>;

// Reader type 0 is the 26-bit reader, whose number is the low 24 bits; every other value is
// read as the 40/42-bit reader. Byte 0 is the first byte received and the most significant.
CardCode DecodeFrame(const TFrameBytes& frame, std::uint8_t readerType);

// Decimal digits only: no sign, no leading zeros, "0" for zero.
std::wstring CardCodeText(CardCode code);
