#include "core/unsaved_note_win.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <utility>

#include "core/data_folder_win.h"
#include "core/unique_handle_win.h"

namespace {

constexpr DWORD kLongestNoteBytes = 64 * 1024;

// The folder and name of the note for a settings file: the path's FNV-1a hash, case folded
// as the file system folds it, tells the notes of two installs apart.
std::optional<std::wstring> NotePath(const std::wstring& settingsFile, bool makeFolder) {
  const auto folder = LocalDataFolder();
  if (!folder) return std::nullopt;
  if (makeFolder) CreateDirectoryW(folder->c_str(), nullptr);
  std::uint32_t hash = 2166136261u;
  for (const wchar_t c : settingsFile) {
    hash ^= static_cast<std::uint32_t>(std::towlower(c));
    hash *= 16777619u;
  }
  wchar_t name[16] = {};
  swprintf(name, 16, L"%08X", hash);
  return *folder + L"\\unsaved-" + name + L".txt";
}

}  // namespace

void LeaveUnsavedNote(const std::wstring& settingsFile, const std::wstring& reason) {
  const auto path = NotePath(settingsFile, true);
  if (!path) return;
  const TUniqueHandle file(CreateFileW(path->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return;
  DWORD written = 0;
  WriteFile(file.Get(), reason.data(), static_cast<DWORD>(reason.size() * sizeof(wchar_t)),
            &written, nullptr);
}

std::optional<std::wstring> TakeUnsavedNote(const std::wstring& settingsFile) {
  const auto path = NotePath(settingsFile, false);
  if (!path) return std::nullopt;
  std::optional<std::wstring> reason;
  {
    const TUniqueHandle file(CreateFileW(path->c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return std::nullopt;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart <= kLongestNoteBytes) {
      std::wstring text(static_cast<std::size_t>(size.QuadPart) / sizeof(wchar_t), L'\0');
      DWORD read = 0;
      if (ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                   &read, nullptr)) {
        text.resize(read / sizeof(wchar_t));
        reason = std::move(text);
      }
    }
  }
  // Told once: a note that cannot be read goes too.
  DeleteFileW(path->c_str());
  return reason;
}
