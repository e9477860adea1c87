// What another process holds, counted from outside: kernel handles, windows, and GDI and
// USER objects where the system counts them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "tests/win/win_test_windows.h"

namespace e2e {

// Kernel handles of the process. Wine's GetProcessHandleCount answers 0 for every process,
// so they are counted in the system's handle list, which Wine does keep.
inline int KernelHandleCount(DWORD processId) {
  struct TEntry {
    ULONG OwnerPid;
    BYTE ObjectType;
    BYTE Flags;
    USHORT Value;
    PVOID Object;
    ULONG Access;
  };
  struct TList {
    ULONG Count;
    TEntry Entries[1];
  };
  using TQuery = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  const auto query = reinterpret_cast<TQuery>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) return -1;
  std::vector<std::uint8_t> buffer(1 << 20);
  ULONG length = 0;
  LONG status = 0;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                         &length)) == kInfoLengthMismatch)
    buffer.resize(buffer.size() * 2);
  if (status != 0) return -1;
  const auto* list = reinterpret_cast<const TList*>(buffer.data());
  int count = 0;
  for (ULONG i = 0; i < list->Count; ++i) count += list->Entries[i].OwnerPid == processId;
  return count;
}

// The windows of the process, top-level and child alike.
inline int WindowCount(DWORD processId) {
  std::vector<HWND> all;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
  int count = 0;
  for (HWND window : all) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId) count += 1 + static_cast<int>(ChildWindows(window).size());
  }
  return count;
}

// The system's count of GDI or USER objects (GR_GDIOBJECTS, GR_USEROBJECTS), or none where
// the system does not count them (Wine 8 answers "not implemented").
inline std::optional<DWORD> GuiObjectCount(HANDLE process, DWORD kind) {
  SetLastError(ERROR_SUCCESS);
  const DWORD count = GetGuiResources(process, kind);
  if (count == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) return std::nullopt;
  return count;
}

}  // namespace e2e
