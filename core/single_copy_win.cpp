#include "core/single_copy_win.h"

#include <windows.h>

#include "core/unique_handle_win.h"

namespace {

constexpr wchar_t kSectionName[] = L"QVM_TESSARIN_CTRL_READER_DRIVER";
constexpr DWORD kSectionSize = 32;

}  // namespace

bool IsFirstInstance() {
  TUniqueHandle section(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0,
                                           kSectionSize, kSectionName));
  if (!section.Valid()) return true;
  // With a handle returned, a last error means the section was there before the call.
  if (GetLastError() != ERROR_SUCCESS) return false;
  // Only the section's existence matters. The first copy keeps its handle until the process
  // ends, so the section vanishes with the last copy that holds it.
  section.Release();
  return true;
}
