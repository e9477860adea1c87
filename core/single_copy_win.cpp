#include "core/single_copy_win.h"

#include <windows.h>

namespace {

constexpr wchar_t kSectionName[] = L"QVM_TESSARIN_CTRL_READER_DRIVER";
constexpr DWORD kSectionSize = 32;

}  // namespace

bool IsFirstInstance() {
  // Only the section's existence matters. The first copy keeps its handle until the process
  // ends, so the section vanishes with the last copy that holds it.
  const HANDLE section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0,
                                            kSectionSize, kSectionName);
  if (section == nullptr) return true;
  if (GetLastError() != ERROR_SUCCESS) {
    CloseHandle(section);
    return false;
  }
  return true;
}
