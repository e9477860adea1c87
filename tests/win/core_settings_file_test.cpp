// The settings through the platform's private-profile functions, on a real file in a
// folder whose name has Cyrillic letters.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/common.h"
#include "core/program_dir_win.h"
#include "core/settings.h"

namespace fs = std::filesystem;

namespace {

class SettingsFile : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / L"Линтаво настройки";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    file_ = dir_ / L"Lintavo.ini";
    SettingsFileName = file_.wstring();
    Settings = TSettings{};
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteFile(const std::string& text) { std::ofstream(file_, std::ios::binary) << text; }

  std::string ReadFile() const {
    std::ifstream in(file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path dir_;
  fs::path file_;
};

TEST_F(SettingsFile, LoadsEveryKeyWithItsRules) {
  WriteFile(
      "[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit= 7 \r\nRunOnlyOneCopy=yes\r\n"
      "ReaderType=5\r\nPortNumber=$0C\r\n");
  LoadSettings();
  EXPECT_FALSE(Settings.MinimizeOnRun);
  EXPECT_TRUE(Settings.CheckExit);
  EXPECT_TRUE(Settings.RunOnlyOneCopy);
  EXPECT_EQ(Settings.ReaderType, 1);
  EXPECT_EQ(Settings.PortNumber, 12);
}

TEST_F(SettingsFile, MissingFileGivesTheDefaults) {
  Settings.PortNumber = 9;
  LoadSettings();
  EXPECT_EQ(Settings.PortNumber, 2);
  EXPECT_TRUE(Settings.MinimizeOnRun);
  EXPECT_FALSE(fs::exists(file_));
}

TEST_F(SettingsFile, SaveRewritesItsKeysAndLeavesTheRestAlone) {
  WriteFile(
      "[Place]\r\nNormPos=1,2,3,4\r\n[SETTINGS]\r\nComment=keep me\r\nPortNumber=2\r\n"
      "[Other]\r\nA=b\r\n");
  Settings = TSettings{false, true, false, 1, 44};
  ASSERT_TRUE(SaveSettings());

  const std::string text = ReadFile();
  EXPECT_NE(text.find("[Place]\r\nNormPos=1,2,3,4\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Comment=keep me"), std::string::npos) << text;
  EXPECT_NE(text.find("[Other]\r\nA=b"), std::string::npos) << text;
  EXPECT_NE(text.find("MinimizeOnRun=0"), std::string::npos) << text;
  EXPECT_NE(text.find("PortNumber=44"), std::string::npos) << text;

  Settings = TSettings{};
  LoadSettings();
  EXPECT_FALSE(Settings.MinimizeOnRun);
  EXPECT_EQ(Settings.ReaderType, 1);
  EXPECT_EQ(Settings.PortNumber, 44);
}

TEST_F(SettingsFile, SaveIntoAMissingFolderReportsFailure) {
  SettingsFileName = (dir_ / L"нет такой папки" / L"Lintavo.ini").wstring();
  EXPECT_FALSE(SaveSettings());
}

TEST(ProgramDirectory, IsTheExecutablesFolderWithItsSeparator) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring dir = ProgramDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), L'\\');
  EXPECT_EQ(std::wstring(path).rfind(dir, 0), 0u);
  EXPECT_EQ(std::wstring(path).find(L'\\', dir.size()), std::wstring::npos);
}

}  // namespace
