#include "tests/support/scratch_dir.h"

namespace fs = std::filesystem;

TScratchDir::TScratchDir(const std::wstring& name) : Path_(fs::temp_directory_path() / name) {
  std::error_code ignored;
  fs::remove_all(Path_, ignored);
  fs::create_directories(Path_);
}

TScratchDir::~TScratchDir() {
  std::error_code ignored;
  fs::remove_all(Path_, ignored);
}
