#include "core/private_profile_win.h"

#include <windows.h>

namespace {
// A longer value is cut to its first 2047 characters.
constexpr DWORD kValueBufferLength = 2048;
}  // namespace

std::wstring PrivateProfileStore::Read(const std::wstring& file, const std::wstring& section,
                                       const std::wstring& key, const std::wstring& fallback) {
  std::wstring buffer(kValueBufferLength, L'\0');
  const DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(),
                                                buffer.data(), kValueBufferLength, file.c_str());
  buffer.resize(length);
  return buffer;
}

bool PrivateProfileStore::Write(const std::wstring& file, const std::wstring& section,
                                const std::wstring& key, const std::wstring& value) {
  return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
         FALSE;
}
