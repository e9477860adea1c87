// The settings file on POSIX systems, read and written the way the private-profile functions
// do it on Windows, so that one Lintavo.ini can travel between the two: sections and keys
// found whatever their case, blanks around a value dropped, a new key appended to the end of
// its section, a new section to the end of the file, everything else left as it stands.
// Text is UTF-8; a file that uses CR LF keeps it.
#pragma once

#include "core/profile_store.h"

class TProfileFile final : public ProfileStore {
 public:
  std::wstring Read(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                    const std::wstring& fallback) override;
  // The file is replaced whole by a renamed copy, so a failed write leaves it as it was.
  bool Write(const std::wstring& file, const std::wstring& section, const std::wstring& key,
             const std::wstring& value) override;
};
