#include "core/program_dir_linux.h"

#include <unistd.h>

#include <array>

#include "core/utf8_text.h"

std::string ProgramPath() {
  std::array<char, 4096> path{};
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  return length > 0 ? std::string(path.data(), static_cast<std::size_t>(length)) : std::string();
}

std::wstring ProgramDirectory() {
  const std::string path = ProgramPath();
  return WideOfUtf8(path.substr(0, path.rfind('/') + 1));
}
