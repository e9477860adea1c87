// What the built Lintavo.exe carries: the manifest that gives it the system's look, no
// elevation and per-monitor DPI awareness, and its icons at every size the system asks for.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lintavo_version.h"
#include "tests/support/binary_resources.h"
#include "tests/support/test_paths.h"
#include "ui/tray/tray_pictures_ids.h"

namespace {

const std::vector<int> kIconSizes{16, 20, 24, 32, 48};

class LintavoResources : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Product.Loaded()) << (ProductDir() / L"Lintavo.exe").string();
    Manifest = Product.Manifest();
    ASSERT_FALSE(Manifest.empty()) << "Lintavo.exe has no application manifest";
  }
  TBinaryResources Product{ProductDir() / L"Lintavo.exe"};
  std::string Manifest;
};

TEST_F(LintavoResources, ManifestNamesTheProgramAtItsVersion) {
  const std::vector<std::string> identities = StartTags(Manifest, "assemblyIdentity");
  ASSERT_GE(identities.size(), 1u);
  EXPECT_EQ(AttributeOf(identities.front(), "type"), "win32");
  EXPECT_EQ(AttributeOf(identities.front(), "version"), std::string(LINTAVO_VERSION_TEXT) + ".0");
}

TEST_F(LintavoResources, ManifestAsksForCommonControlsSix) {
  const std::string dependency = ElementText(Manifest, "dependency");
  const std::vector<std::string> wanted = StartTags(dependency, "assemblyIdentity");
  ASSERT_EQ(wanted.size(), 1u) << dependency;
  EXPECT_EQ(AttributeOf(wanted[0], "name"), "Microsoft.Windows.Common-Controls");
  EXPECT_EQ(AttributeOf(wanted[0], "version"), "6.0.0.0");
  EXPECT_EQ(AttributeOf(wanted[0], "publicKeyToken"), "6595b64144ccf1df");
  EXPECT_EQ(AttributeOf(wanted[0], "processorArchitecture"), "*");
}

TEST_F(LintavoResources, ManifestRunsAsTheInvokerWithoutElevation) {
  const std::vector<std::string> level = StartTags(Manifest, "requestedExecutionLevel");
  ASSERT_EQ(level.size(), 1u);
  EXPECT_EQ(AttributeOf(level[0], "level"), "asInvoker");
  EXPECT_EQ(AttributeOf(level[0], "uiAccess"), "false");
}

TEST_F(LintavoResources, ManifestSupportsVistaToTen) {
  std::vector<std::string> ids;
  for (const std::string& os : StartTags(Manifest, "supportedOS"))
    ids.push_back(AttributeOf(os, "Id"));
  EXPECT_EQ(ids,
            (std::vector<std::string>{"{e2011457-1546-43c5-a5fe-008deee3d3f0}",     // Vista
                                      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // 7
                                      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",     // 8
                                      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",     // 8.1
                                      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}));  // 10 and 11
}

TEST_F(LintavoResources, ManifestIsPerMonitorAwareAndSystemAwareBeforeThat) {
  EXPECT_EQ(ElementText(Manifest, "dpiAware"), "true/pm");
  EXPECT_EQ(ElementText(Manifest, "dpiAwareness"), "PerMonitorV2, PerMonitor");
  const std::vector<std::string> settings = StartTags(Manifest, "windowsSettings");
  ASSERT_EQ(settings.size(), 1u);
  EXPECT_NE(ElementText(Manifest, "windowsSettings").find("<dpiAwareness"), std::string::npos);
}

TEST_F(LintavoResources, EveryIconHoldsEverySizeTheSystemAsksFor) {
  for (const int id : {IDI_TRAY_DEVICE, IDI_TRAY_PORT_OPEN, IDI_TRAY_PORT_FAILED})
    EXPECT_EQ(Product.IconSizes(id), kIconSizes) << id;
}

}  // namespace
