// The private-profile functions behind an INI file, so the settings logic can run against
// the platform's files or an in-memory stand-in.
#pragma once

#include <string>

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  // The value of section/key, or fallback when the file, section or key is missing.
  virtual std::wstring Read(const std::wstring& file, const std::wstring& section,
                            const std::wstring& key, const std::wstring& fallback) = 0;

  // False when the platform reports that the write failed.
  virtual bool Write(const std::wstring& file, const std::wstring& section,
                     const std::wstring& key, const std::wstring& value) = 0;
};
