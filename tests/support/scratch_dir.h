// A fresh folder of a test's own under the temporary folder, removed with everything in it
// afterwards, whatever the test did.
#pragma once

#include <filesystem>
#include <string>

class TScratchDir {
 public:
  // name is the folder's own name; what was left there by an earlier run goes first.
  explicit TScratchDir(const std::wstring& name);
  ~TScratchDir();
  TScratchDir(const TScratchDir&) = delete;
  TScratchDir& operator=(const TScratchDir&) = delete;

  const std::filesystem::path& Path() const { return Path_; }

 private:
  std::filesystem::path Path_;
};
