#include "tests/support/process_resources.h"

#include <algorithm>
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
using TQueryInformationProcess = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

// What NtQueryInformationProcess gives for ProcessBasicInformation.
struct TBasicInformation {
  LONG ExitStatus;
  PVOID PebBaseAddress;
  ULONG_PTR Reserved[4];
};
// An entry of the GDI handle table; a free one has no type.
struct TGdiEntry {
  std::uint64_t Object;
  std::uint32_t Owner;
  std::uint16_t Unique;
  std::uint8_t Type;
  std::uint8_t Flags;
  std::uint64_t UserPointer;
};
static_assert(sizeof(TGdiEntry) == 24, "the table's layout on both builds");
constexpr std::size_t kGdiTableSize = 0x10000;
constexpr std::size_t kGdiTableInPeb64 = 0xF8;
constexpr std::size_t kPageSize = 0x1000;

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

int GdiObjectCount(DWORD processId) {
  const TUniqueHandle process(
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return -1;
  SetLastError(ERROR_SUCCESS);
  const DWORD counted = GetGuiResources(process.Get(), GR_GDIOBJECTS);
  if (counted != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<int>(counted);

  const auto query = reinterpret_cast<TQueryInformationProcess>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  TBasicInformation basic{};
  if (query == nullptr || query(process.Get(), 0, &basic, sizeof basic, nullptr) != 0) return -1;
  const auto* peb64 = static_cast<const std::uint8_t*>(basic.PebBaseAddress) -
                      (sizeof(void*) == 8 ? 0 : kPageSize);
  std::uint64_t table = 0;
  std::vector<TGdiEntry> entries(kGdiTableSize);
  if (!ReadProcessMemory(process.Get(), peb64 + kGdiTableInPeb64, &table, sizeof table,
                         nullptr) ||
      table == 0 ||
      !ReadProcessMemory(process.Get(), reinterpret_cast<const void*>(table), entries.data(),
                         entries.size() * sizeof(TGdiEntry), nullptr))
    return -1;
  return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                        [](const TGdiEntry& entry) { return entry.Type != 0; }));
}
