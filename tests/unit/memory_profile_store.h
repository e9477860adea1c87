// An INI file held in memory, recording every write, for tests of the settings logic.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "core/profile_store.h"

class MemoryProfileStore final : public ProfileStore {
 public:
  using Key = std::tuple<std::wstring, std::wstring>;  // section, key

  std::wstring Read(const std::wstring&, const std::wstring& section, const std::wstring& key,
                    const std::wstring& fallback) override {
    const auto it = values.find({section, key});
    return it == values.end() ? fallback : it->second;
  }

  bool Write(const std::wstring&, const std::wstring& section, const std::wstring& key,
             const std::wstring& value) override {
    if (failAfterWrites == 0) return false;
    --failAfterWrites;
    values[{section, key}] = value;
    written.push_back(key);
    return true;
  }

  std::map<Key, std::wstring> values;
  std::vector<std::wstring> written;  // keys in the order they were written
  int failAfterWrites = -1;           // how many writes succeed before they fail; -1: all
};
