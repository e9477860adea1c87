// The one version as the operator meets it in the version resource of every binary of the
// product's folder; the about box shows it too (MainWindow.MenuAboutShowsTheVersion).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lintavo_version.h"
#include "tests/e2e/version_info.h"
#include "tests/support/test_paths.h"

namespace {

constexpr wchar_t kRussianBlock[] = L"041904B0";
constexpr DWORD kRussianUnicode = 0x0419u << 16 | 1200u;
const std::wstring kVersion = L"" LINTAVO_VERSION_TEXT;
const std::wstring kNumbers = std::to_wstring(LINTAVO_VERSION_MAJOR) + L"." +
                              std::to_wstring(LINTAVO_VERSION_MINOR) + L"." +
                              std::to_wstring(LINTAVO_VERSION_PATCH) + L".0";

class VersionResource : public testing::TestWithParam<const wchar_t*> {};

TEST_P(VersionResource, CarriesTheProductVersionInRussian) {
  const e2e::TVersionResource version(ProductDir() / GetParam());
  ASSERT_TRUE(version.Loaded());
  EXPECT_EQ(version.FileVersion(), kNumbers);
  EXPECT_EQ(version.ProductVersion(), kNumbers);
  EXPECT_EQ(version.Translations(), std::vector<DWORD>{kRussianUnicode});
  EXPECT_EQ(version.Text(kRussianBlock, L"FileVersion"), kVersion);
  EXPECT_EQ(version.Text(kRussianBlock, L"ProductVersion"), kVersion);
  EXPECT_EQ(version.Text(kRussianBlock, L"ProductName"), L"Драйвер контрольного считывателя");
  EXPECT_FALSE(version.Text(kRussianBlock, L"FileDescription").empty());
}

INSTANTIATE_TEST_SUITE_P(Binaries, VersionResource,
                         testing::Values(L"Lintavo.exe", L"about.dll", L"qvm_help.dll"),
                         [](const auto& info) {
                           std::string name;
                           for (const wchar_t* c = info.param; *c != L'\0' && *c != L'.'; ++c)
                             name.push_back(static_cast<char>(*c));
                           return name;
                         });

}  // namespace
