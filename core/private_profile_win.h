// The platform's private-profile functions as the program's ProfileStore.
#pragma once

#include "core/profile_store.h"

class PrivateProfileStore final : public ProfileStore {
 public:
  std::wstring Read(const std::wstring& file, const std::wstring& section,
                    const std::wstring& key, const std::wstring& fallback) override;
  bool Write(const std::wstring& file, const std::wstring& section, const std::wstring& key,
             const std::wstring& value) override;
};
