#include "tests/support/test_paths.h"

#include <windows.h>

#include <string>

std::filesystem::path TestProgramDir() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(std::wstring(path, length)).parent_path();
}

std::filesystem::path ProductDir() { return (TestProgramDir() / L".." / L"bin").lexically_normal(); }
