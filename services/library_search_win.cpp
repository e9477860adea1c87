#include "services/library_search_win.h"

namespace {

constexpr DWORD kSearchDefaultDirs = 0x00001000;  // LOAD_LIBRARY_SEARCH_DEFAULT_DIRS

using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);

}  // namespace

void SecureLibrarySearch() {
  // An empty DLL directory drops the current directory from the classic search order.
  SetDllDirectoryW(L"");
  // Where the loader knows default directories (Windows 8, or 7 with its update), use them:
  // the program's directory and System32 only. Looked up at run time for older systems.
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto setDefault =
      ExportOf<TSetDefaultDllDirectories>(kernel, "SetDefaultDllDirectories");
  if (setDefault != nullptr) setDefault(kSearchDefaultDirs);
}
