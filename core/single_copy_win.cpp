#include "core/single_copy_win.h"

#include <sddl.h>

#include <cstring>

#include "core/running_copy.h"
#include "core/unique_handle_win.h"

namespace {

constexpr wchar_t kSectionName[] = L"QVM_TESSARIN_CTRL_READER_DRIVER";
constexpr DWORD kSectionSize = 32;
static_assert(kRunningCopyRecordSize <= kSectionSize);

// The first copy's own handle to the section, kept until the process ends.
HANDLE HeldSection = nullptr;

// A view of the section, let go with the object.
class TSectionView {
 public:
  TSectionView(HANDLE section, DWORD access)
      : View_(section != nullptr ? MapViewOfFile(section, access, 0, 0, kRunningCopyRecordSize)
                                 : nullptr) {}
  ~TSectionView() {
    if (View_ != nullptr) UnmapViewOfFile(View_);
  }
  TSectionView(const TSectionView&) = delete;
  TSectionView& operator=(const TSectionView&) = delete;
  void* Get() const { return View_; }

 private:
  void* View_;
};

void Write(const TRunningCopy& copy) {
  const TSectionView view(HeldSection, FILE_MAP_WRITE);
  if (view.Get() == nullptr) return;
  const TRunningCopyRecord record = EncodeRunningCopy(copy);
  std::memcpy(view.Get(), record.data(), record.size());
}

// Whoever created it, the section can be read by the operator's own logon: a copy run as
// administrator would otherwise get the elevated token's default, which a normal second start
// of the same operator may not open, and could not be brought up by it. Writing stays with
// the first copy's own handle.
constexpr wchar_t kSectionSecurity[] = L"D:(A;;GA;;;SY)(A;;GA;;;BA)(A;;GR;;;IU)";

struct TLocalFreePolicy {
  using Handle = PSECURITY_DESCRIPTOR;
  static bool Valid(Handle descriptor) { return descriptor != nullptr; }
  static bool Close(Handle descriptor) { return LocalFree(descriptor) == nullptr; }
};

std::optional<TRunningCopy> ReadRunningCopy() {
  const TUniqueHandle section(OpenFileMappingW(FILE_MAP_READ, FALSE, kSectionName));
  const TSectionView view(section.Get(), FILE_MAP_READ);
  if (view.Get() == nullptr) return std::nullopt;
  TRunningCopyRecord record{};
  std::memcpy(record.data(), view.Get(), record.size());
  return DecodeRunningCopy(record);
}

}  // namespace

bool IsFirstInstance() {
  // Writable, so that the first copy can tell later starts where it is; a copy of an older
  // version holding a read-only section still makes this create report it.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ConvertStringSecurityDescriptorToSecurityDescriptorW(kSectionSecurity, SDDL_REVISION_1,
                                                       &descriptor, nullptr);
  const TUnique<TLocalFreePolicy> ownedDescriptor(descriptor);
  SECURITY_ATTRIBUTES security{sizeof(security), descriptor, FALSE};
  TUniqueHandle section(CreateFileMappingW(INVALID_HANDLE_VALUE,
                                           descriptor != nullptr ? &security : nullptr,
                                           PAGE_READWRITE, 0, kSectionSize, kSectionName));
  // A copy running with higher rights holds a section this process may not open; any other
  // failure to create it lets the program start.
  if (!section.Valid()) return GetLastError() != ERROR_ACCESS_DENIED;
  // With a handle returned, a last error means the section was there before the call.
  if (GetLastError() != ERROR_SUCCESS) return false;
  // The first copy keeps its handle until the process ends, so the section vanishes with
  // the last copy that holds it.
  HeldSection = section.Release();
  Write({GetCurrentProcessId(), 0});
  return true;
}

void PublishMainWindow(HWND window) {
  Write({GetCurrentProcessId(), reinterpret_cast<std::uintptr_t>(window)});
}

UINT ShowRunningCopyMessage() {
  static const UINT message = RegisterWindowMessageW(L"QVM_TESSARIN_CTRL_READER_DRIVER.Show");
  return message;
}

bool BringRunningCopyForward() {
  const std::optional<TRunningCopy> copy = ReadRunningCopy();
  if (!copy || copy->ProcessId == GetCurrentProcessId()) return false;
  const auto window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(copy->Window));
  DWORD owner = 0;
  if (GetWindowThreadProcessId(window, &owner) == 0 || owner != copy->ProcessId) return false;
  // This start came from the operator and may give the front away; the running copy may
  // not take it by itself.
  AllowSetForegroundWindow(copy->ProcessId);
  return PostMessageW(window, ShowRunningCopyMessage(), 0, 0) != FALSE;
}
