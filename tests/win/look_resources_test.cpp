// What the built Lintavo.exe carries: a manifest the system takes, asking for the system's
// own controls and DPI awareness, and its icons at every size the system asks for.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/unique_handle_win.h"
#include "tests/support/test_paths.h"
#include "ui/tray/tray_pictures_ids.h"

namespace {

const std::wstring kProduct = (ProductDir() / L"Lintavo.exe").wstring();

struct TActivationContextPolicy {
  using Handle = HANDLE;
  static bool Valid(HANDLE context) { return context != nullptr && context != INVALID_HANDLE_VALUE; }
  bool Close(HANDLE context) const {
    ReleaseActCtx(context);
    return true;
  }
};

// What the system says of the context, with the strings it appends; empty when it says
// nothing.
std::vector<std::uint8_t> ContextInformation(HANDLE context, ULONG kind, DWORD* index) {
  SIZE_T size = 0;
  QueryActCtxW(0, context, index, kind, nullptr, 0, &size);
  std::vector<std::uint8_t> buffer(size);
  if (size == 0 || !QueryActCtxW(0, context, index, kind, buffer.data(), size, nullptr))
    return {};
  return buffer;
}

// The identities of the assemblies the system bound into the context, the program's own
// first.
std::vector<std::wstring> AssembliesOf(HANDLE context) {
  const auto whole = ContextInformation(context, ActivationContextDetailedInformation, nullptr);
  if (whole.empty()) return {};
  const DWORD count =
      reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(whole.data())
          ->ulAssemblyCount;
  std::vector<std::wstring> identities;
  for (DWORD index = 1; index <= count; ++index) {
    const auto assembly =
        ContextInformation(context, AssemblyDetailedInformationInActivationContext, &index);
    const auto* detail =
        reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(assembly.data());
    if (!assembly.empty() && detail->lpAssemblyEncodedAssemblyIdentity != nullptr)
      identities.emplace_back(detail->lpAssemblyEncodedAssemblyIdentity);
  }
  return identities;
}

// The system reads the manifest as it would at the program's start: a broken one makes no
// context, and a dependency it cannot find makes none either.
TEST(LintavoResources, ManifestTakenWithCommonControlsSixAndDpiAwareness) {
  ACTCTXW request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = kProduct.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(1);
  const TUnique<TActivationContextPolicy> context(CreateActCtxW(&request));
  ASSERT_TRUE(context) << "the system took no manifest from Lintavo.exe, error "
                       << GetLastError();

  bool commonControlsSix = false;
  std::string bound;
  for (const std::wstring& identity : AssembliesOf(context.Get())) {
    commonControlsSix |= identity.starts_with(L"Microsoft.Windows.Common-Controls,") &&
                         identity.find(L"version=\"6.") != std::wstring::npos;
    bound += std::string(identity.begin(), identity.end()) + "\n";
  }
  EXPECT_TRUE(commonControlsSix) << "the context binds no common controls 6:\n" << bound;

  wchar_t dpiAware[64] = {};
  SIZE_T written = 0;
  ASSERT_TRUE(QueryActCtxSettingsW(0, context.Get(), nullptr, L"dpiAware", dpiAware,
                                   sizeof dpiAware / sizeof *dpiAware, &written))
      << "the manifest gives no DPI awareness, error " << GetLastError();
  EXPECT_EQ(std::wstring(dpiAware).substr(0, 4), L"true");
}

// The images an icon group of the file lists, by their width (0 stands for 256).
std::vector<int> IconSizes(HMODULE file, int group) {
  const HRSRC found = FindResourceW(file, MAKEINTRESOURCEW(group), RT_GROUP_ICON);
  const auto* bytes = static_cast<const std::uint8_t*>(
      found != nullptr ? LockResource(LoadResource(file, found)) : nullptr);
  if (bytes == nullptr || SizeofResource(file, found) < 6) return {};
  // A header of three words, the count last, then an entry of 14 bytes per image.
  const int count = bytes[4] | bytes[5] << 8;
  if (SizeofResource(file, found) < static_cast<DWORD>(6 + 14 * count)) return {};
  std::vector<int> sizes;
  for (int i = 0; i < count; ++i) sizes.push_back(bytes[6 + 14 * i] == 0 ? 256 : bytes[6 + 14 * i]);
  return sizes;
}

TEST(LintavoResources, EveryIconHoldsEverySizeTheSystemAsksFor) {
  const TUniqueLibrary file(LoadLibraryExW(
      kProduct.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(file);
  for (const int id : {IDI_TRAY_DEVICE, IDI_TRAY_PORT_OPEN, IDI_TRAY_PORT_FAILED})
    EXPECT_EQ(IconSizes(file.Get(), id), (std::vector<int>{16, 20, 24, 32, 48})) << id;
}

}  // namespace
