// One INI file of the program: every read and write is one private-profile call on the
// file, nothing is cached, and a failed write raises IniWriteError.
#pragma once

#include <cstdint>
#include <string>

#include "core/profile_store.h"

class IniWriteError {
 public:
  explicit IniWriteError(const std::wstring& fileName);
  const std::wstring& Message() const { return message_; }

 private:
  std::wstring message_;
};

class TIniFile {
 public:
  TIniFile(ProfileStore& store, std::wstring fileName);

  const std::wstring& FileName() const { return fileName_; }

  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& fallback) const;
  std::int32_t ReadInteger(const std::wstring& section, const std::wstring& key,
                           std::int32_t fallback) const;
  bool ReadBool(const std::wstring& section, const std::wstring& key, bool fallback) const;

  void WriteString(const std::wstring& section, const std::wstring& key,
                   const std::wstring& value);
  void WriteInteger(const std::wstring& section, const std::wstring& key, std::int32_t value);
  void WriteBool(const std::wstring& section, const std::wstring& key, bool value);

 private:
  ProfileStore& store_;
  std::wstring fileName_;
};
