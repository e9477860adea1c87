// The single-copy section's own security: the operator's logon may read it whoever made it,
// so that a normal second start can bring up a copy run as administrator. Wine does not
// enforce the difference in rights; what the section grants it does keep.
#include <gtest/gtest.h>
#include <windows.h>

#include <aclapi.h>

#include "core/single_copy_win.h"
#include "core/unique_handle_win.h"

namespace {

constexpr wchar_t kSectionName[] = L"QVM_TESSARIN_CTRL_READER_DRIVER";

struct TGrant {
  bool Found = false;
  ACCESS_MASK Mask = 0;
};

// What the section's access list allows the interactive logon.
TGrant InteractiveGrant(HANDLE section) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  TGrant grant;
  if (GetSecurityInfo(section, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                      &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
    return grant;
  BYTE sidBytes[SECURITY_MAX_SID_SIZE] = {};
  DWORD sidSize = sizeof(sidBytes);
  CreateWellKnownSid(WinInteractiveSid, nullptr, sidBytes, &sidSize);
  for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(dacl, i, &ace)) continue;
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    if (allowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    if (!EqualSid(const_cast<DWORD*>(&allowed->SidStart), sidBytes)) continue;
    grant.Found = true;
    grant.Mask |= allowed->Mask;
  }
  LocalFree(descriptor);
  return grant;
}

TEST(SectionSecurity, TheOperatorsLogonMayReadTheSectionButNotWriteIt) {
  ASSERT_TRUE(IsFirstInstance());
  const TUniqueHandle section(OpenFileMappingW(READ_CONTROL, FALSE, kSectionName));
  ASSERT_TRUE(section.Valid()) << "the section cannot be looked at: " << GetLastError();
  const TGrant grant = InteractiveGrant(section.Get());
  ASSERT_TRUE(grant.Found) << "the interactive logon is not named in the section's access list";
  EXPECT_NE(grant.Mask & (GENERIC_READ | SECTION_MAP_READ), 0u) << std::hex << grant.Mask;
  EXPECT_EQ(grant.Mask & (GENERIC_WRITE | GENERIC_ALL | SECTION_MAP_WRITE), 0u)
      << std::hex << grant.Mask;
}

}  // namespace
