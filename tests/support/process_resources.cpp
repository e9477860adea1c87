#include "tests/support/process_resources.h"

#include <cstdint>
#include <vector>

#include "core/unique_handle_win.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/window_text.h"

namespace {

// The system's handle list as NtQuerySystemInformation gives it.
struct THandleEntry {
  ULONG OwnerPid;
  BYTE ObjectType;
  BYTE Flags;
  USHORT Value;
  PVOID Object;
  ULONG Access;
};
struct THandleList {
  ULONG Count;
  THandleEntry Entries[1];
};
using TQuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

}  // namespace

int KernelHandleCount(DWORD processId) {
  const auto query = reinterpret_cast<TQuerySystemInformation>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) return -1;
  std::vector<std::uint8_t> buffer(1 << 20);
  ULONG length = 0;
  LONG status = 0;
  while ((status = query(kSystemHandleInformation, buffer.data(),
                         static_cast<ULONG>(buffer.size()), &length)) == kInfoLengthMismatch)
    buffer.resize(buffer.size() * 2);
  if (status != 0) return -1;
  const auto* list = reinterpret_cast<const THandleList*>(buffer.data());
  int count = 0;
  for (ULONG i = 0; i < list->Count; ++i) count += list->Entries[i].OwnerPid == processId;
  return count;
}

int WindowCount(DWORD processId) {
  int count = 0;
  for (HWND window : TopLevelWindows()) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId) count += 1 + static_cast<int>(ChildWindows(window).size());
  }
  return count;
}

std::optional<DWORD> GuiObjectCount(DWORD processId, DWORD kind) {
  const TUniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
  if (!process) return std::nullopt;
  SetLastError(ERROR_SUCCESS);
  const DWORD count = GetGuiResources(process.Get(), kind);
  if (count == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) return std::nullopt;
  return count;
}
