#include "core/data_folder_win.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

std::optional<std::wstring> LocalDataFolder() {
  PWSTR local = nullptr;
  const bool found = SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local));
  std::optional<std::wstring> folder;
  if (found) folder = std::wstring(local) + L"\\Lintavo";
  CoTaskMemFree(local);
  return folder;
}
