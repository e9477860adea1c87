#include "journal/journal_folder.h"

#include "core/data_folder_win.h"

std::filesystem::path JournalFolder() {
  const auto folder = LocalDataFolder();
  return folder ? std::filesystem::path(*folder) / L"journal" : std::filesystem::path();
}
