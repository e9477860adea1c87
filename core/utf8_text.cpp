#include "core/utf8_text.h"

#include <cstdint>

namespace {

constexpr std::uint32_t kHighSurrogate = 0xD800;
constexpr std::uint32_t kLowSurrogate = 0xDC00;
constexpr std::uint32_t kSurrogateEnd = 0xE000;
constexpr std::uint32_t kFirstPastBmp = 0x10000;

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Units of 16 bits pair their surrogates; units of 32 bits are whole characters already.
template <class Char>
std::string Utf8Of(std::basic_string_view<Char> text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t code = static_cast<std::uint32_t>(text[i]);
    if constexpr (sizeof(Char) == 2) {
      const bool high = code >= kHighSurrogate && code < kLowSurrogate;
      if (high && i + 1 < text.size()) {
        const auto next = static_cast<std::uint32_t>(text[i + 1]);
        if (next >= kLowSurrogate && next < kSurrogateEnd) {
          code = kFirstPastBmp + ((code - kHighSurrogate) << 10) + (next - kLowSurrogate);
          ++i;
        }
      }
    }
    AppendUtf8(out, code);
  }
  return out;
}

template <class String>
void AppendUnit(String& out, std::uint32_t code) {
  if constexpr (sizeof(typename String::value_type) == 2) {
    if (code >= kFirstPastBmp) {
      code -= kFirstPastBmp;
      out += static_cast<typename String::value_type>(kHighSurrogate + (code >> 10));
      out += static_cast<typename String::value_type>(kLowSurrogate + (code & 0x3FF));
      return;
    }
  }
  out += static_cast<typename String::value_type>(code);
}

template <class String>
String TextOfUtf8(const std::string& text) {
  String out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    std::uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = lead < 0x80 || (lead >= 0xC0 && i + static_cast<std::size_t>(extra) < text.size());
    for (int k = 1; valid && k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
      out += static_cast<typename String::value_type>(lead);
      ++i;
      continue;
    }
    AppendUnit(out, code);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

}  // namespace

std::string Utf8OfWide(const std::wstring& text) { return Utf8Of(std::wstring_view(text)); }
std::wstring WideOfUtf8(const std::string& text) { return TextOfUtf8<std::wstring>(text); }
std::string Utf8OfUtf16(std::u16string_view text) { return Utf8Of(text); }
std::u16string Utf16OfUtf8(const std::string& text) { return TextOfUtf8<std::u16string>(text); }
