#include "core/ini_file.h"

#include <utility>

#include "core/ini_value.h"

IniWriteError::IniWriteError(const std::wstring& fileName)
    : message_(L"Unable to write to " + fileName) {}

TIniFile::TIniFile(ProfileStore& store, std::wstring fileName)
    : store_(store), fileName_(std::move(fileName)) {}

std::wstring TIniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& fallback) const {
  return store_.Read(fileName_, section, key, fallback);
}

std::int32_t TIniFile::ReadInteger(const std::wstring& section, const std::wstring& key,
                                   std::int32_t fallback) const {
  return IniIntegerOr(ReadString(section, key, L""), fallback);
}

bool TIniFile::ReadBool(const std::wstring& section, const std::wstring& key,
                        bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& value) {
  if (!store_.Write(fileName_, section, key, value)) throw IniWriteError(fileName_);
}

void TIniFile::WriteInteger(const std::wstring& section, const std::wstring& key,
                            std::int32_t value) {
  WriteString(section, key, IniIntegerText(value));
}

void TIniFile::WriteBool(const std::wstring& section, const std::wstring& key, bool value) {
  WriteString(section, key, value ? L"1" : L"0");
}
