// The one version as the operator meets it: in the version resource of every binary of the
// product's folder, and in the about box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lintavo_version.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/version_info.h"
#include "tests/support/dialog_buttons.h"
#include "tests/support/test_paths.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/main_window/resource_ids.h"

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

TEST(AboutBox, ShowsTheVersion) {
  e2e::TLintavoInstance lintavo(L"версия");
  lintavo.WriteIni("[SETTINGS]\r\nMinimizeOnRun=0\r\n");
  ASSERT_TRUE(lintavo.Start());
  const HWND main = lintavo.MainWindow();
  ASSERT_NE(main, nullptr);
  e2e::PostMenuCommand(main, IDM_HELP_ABOUT);
  const HWND about = lintavo.WaitForTopLevel(window_class::kDialog, L"О программе", 15'000);
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return HasChildText(about, L"Версия " + kVersion); }, 5000))
      << "the about box shows no version line";
  EXPECT_TRUE(PressButton(about, L"Закрыть"));
}

}  // namespace
