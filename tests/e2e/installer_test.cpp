// The operator's installer under Wine, end to end: what a silent install leaves, the
// installed program started as at logon typing a card, upgrades over a changed settings
// file and over a running copy, the uninstaller, and a folder that cannot be made.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/installer_driver.h"
#include "tests/e2e/main_window_driver.h"
#include "tests/e2e/notepad_card.h"
#include "tests/e2e/version_info.h"
#include "tests/support/cardsim.h"
#include "tests/support/child_process.h"
#include "tests/support/front_window.h"
#include "tests/support/notepad.h"
#include "tests/support/test_paths.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"
#include "ui/shell/texts.h"

namespace {

using namespace e2e;

constexpr DWORD kLong = 15'000;
constexpr char kOperatorIni[] =
    "; настройки оператора\r\n[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=0\r\nReaderType=1\r\n";

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

// The installed program's main window, wherever it was started from.
HWND InstalledMainWindow(DWORD timeoutMs = kLong) {
  return WaitForWindow([] { return FindWindowW(kMainWindowClass, nullptr); }, timeoutMs);
}

bool Running(const TChildProcess& program) {
  return program.Started() && program.Wait(0) == STILL_ACTIVE;
}

// Whether anything is at the path; a path through a file or a missing drive is nothing.
bool Exists(const fs::path& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
}

// A button's caption as the operator reads it, without the mnemonic's ampersand.
std::wstring Caption(HWND button) {
  std::wstring text = WindowText(button);
  std::erase(text, L'&');
  return text;
}

std::uintmax_t SizeKb(const fs::path& file) { return (fs::file_size(file) + 1023) / 1024; }

// ---- a silent install into a fresh folder ---------------------------------------------------

struct TInstallCase {
  const char* Name;
  const wchar_t* FolderSwitch;  // before the folder's path; nullptr: the default folder
  const wchar_t* AfterFolder;
};

class SilentInstall : public testing::TestWithParam<TInstallCase> {
 protected:
  fs::path Folder() const {
    if (GetParam().FolderSwitch == nullptr) return DefaultInstallDir();
    return TestFolder(L"выбранная папка");
  }
  std::wstring Switches() const {
    const TInstallCase& c = GetParam();
    if (c.FolderSwitch == nullptr) return L"/S";
    return std::wstring(L"/S ") + c.FolderSwitch + Folder().wstring() + c.AfterFolder;
  }
  TInstallSandbox Sandbox_{{TestFolder(L"выбранная папка")}};
};

TEST_P(SilentInstall, PutsDownTheProgramShortcutRunValueAndEntry) {
  const fs::path dir = Folder();
  ASSERT_EQ(RunSetup(Switches()), 0u);

  std::uintmax_t filesKb = 0;
  for (const std::wstring& name : kInstalledFiles) {
    ASSERT_TRUE(fs::exists(dir / name)) << fs::path(name).string();
    EXPECT_EQ(FileBytes(dir / name), FileBytes(ProductDir() / name)) << fs::path(name).string();
    filesKb += SizeKb(dir / name);
  }
  EXPECT_TRUE(fs::exists(dir / kUninstaller));
  EXPECT_FALSE(fs::exists(dir / L"Lintavo.ini")) << "the settings are the operator's, never shipped";

  const fs::path exe = dir / L"Lintavo.exe";
  EXPECT_EQ(ShortcutTarget(StartMenuShortcut()), exe.wstring());
  EXPECT_EQ(RunValue(), Quoted(exe));

  const TRegistryKey entry(kUninstallKey);
  ASSERT_TRUE(entry.Exists());
  EXPECT_EQ(entry.String(L"DisplayName"), kProductName);
  EXPECT_EQ(entry.String(L"DisplayVersion"), kVersion);
  EXPECT_NE(entry.String(L"Publisher").value_or(L""), L"");
  EXPECT_EQ(entry.String(L"DisplayIcon"), exe.wstring() + L",0");
  EXPECT_EQ(entry.String(L"InstallLocation"), dir.wstring());
  EXPECT_EQ(entry.String(L"UninstallString"), Quoted(dir / kUninstaller));
  EXPECT_EQ(entry.String(L"QuietUninstallString"), Quoted(dir / kUninstaller) + L" /S");
  const DWORD sizeKb = entry.Dword(L"EstimatedSize").value_or(0);
  EXPECT_GE(sizeKb, filesKb - kInstalledFiles.size());
  EXPECT_LE(sizeKb, filesKb + kInstalledFiles.size());
}

INSTANTIATE_TEST_SUITE_P(Rows, SilentInstall,
                         testing::Values(TInstallCase{"DefaultFolder", nullptr, nullptr},
                                         TInstallCase{"FolderChosenWithD", L"/D=", L""},
                                         // as tools that quote an argument with spaces pass it
                                         TInstallCase{"FolderChosenWithQuotedD", L"\"/D=", L"\""}),
                         [](const auto& info) { return std::string(info.param.Name); });

// NSIS writes its Russian block in the Cyrillic code page (041904E3).
TEST(Setup, CarriesTheVersionInItsResource) {
  const TVersionResource version(SetupPath());
  ASSERT_TRUE(version.Loaded());
  const auto translations = version.Translations();
  ASSERT_EQ(translations.size(), 1u);
  EXPECT_EQ(translations[0] >> 16, 0x0419u);
  const std::wstring block = TVersionResource::BlockOf(translations[0]);
  EXPECT_EQ(version.Text(block, L"ProductVersion"), kVersion);
  EXPECT_EQ(version.Text(block, L"FileVersion"), kVersion);
  EXPECT_EQ(version.Text(block, L"ProductName"), kProductName);
}

// ---- the start at logon types a card ----------------------------------------------------------

TEST(RunAtLogon, ProgramStartedFromTheRunValueTypesACard) {
  const TInstallSandbox sandbox;
  ASSERT_EQ(InstallSilently(), 0u);
  const auto command = RunValue();
  ASSERT_TRUE(command.has_value());

  TNotepad notepad;
  ASSERT_NE(notepad.Edit(), nullptr) << "notepad did not come up";
  const TChildProcess lintavo(*command);
  ASSERT_TRUE(Running(lintavo));
  const HWND main = InstalledMainWindow();
  ASSERT_NE(main, nullptr);
  DWORD owner = 0;
  GetWindowThreadProcessId(main, &owner);
  EXPECT_EQ(owner, lintavo.ProcessId());
  ASSERT_TRUE(WaitUntil([&] { return HasChildText(main, L"COM2 - Порт открыт"); }, kLong));
  // Started at logon without settings it minimises itself, out of the operator's way.
  ASSERT_TRUE(WaitForStartUp(lintavo.ProcessId(), true, kLong)) << DescribeFront();
  EXPECT_FALSE(IsWindowVisible(main));

  const TCard card{L"--card26 12345", L"12345"};
  EXPECT_EQ(TypedInNotepad(notepad, 2, card), card.Text + kSentinel.Text) << DescribeFront();
}

// ---- upgrades ----------------------------------------------------------------------------

class Upgrade : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(InstallSilently(Dir_), 0u); }
  fs::path Ini() const { return Dir_ / L"Lintavo.ini"; }
  static int IniSetting(const fs::path& ini, const wchar_t* key) {
    return static_cast<int>(GetPrivateProfileIntW(L"SETTINGS", key, -1, ini.c_str()));
  }

  const fs::path Dir_ = TestFolder(L"обновление");
  const TInstallSandbox Sandbox_{{Dir_}};
};

TEST_F(Upgrade, GoesIntoTheInstalledFolderAndLeavesTheSettingsAsTheyAre) {
  WriteFileBytes(Ini(), kOperatorIni);
  fs::remove(Dir_ / L"DOC\\Lintavo.crf");
  ASSERT_EQ(InstallSilently(), 0u);
  EXPECT_EQ(FileBytes(Ini()), kOperatorIni);
  EXPECT_TRUE(fs::exists(Dir_ / L"DOC\\Lintavo.crf")) << "the upgrade did not go where the copy is";
  EXPECT_EQ(TRegistryKey(kUninstallKey).String(L"InstallLocation"), Dir_.wstring());
  EXPECT_FALSE(fs::exists(DefaultInstallDir()));
}

TEST_F(Upgrade, KeepsTheOperatorsChoiceNotToStartAtLogon) {
  TRegistryKey(kRunKey).Remove(kRunValue);
  ASSERT_EQ(InstallSilently(), 0u);
  EXPECT_FALSE(RunValue().has_value());
}

TEST_F(Upgrade, ClosesARunningCopyFirst) {
  WriteFileBytes(Ini(), kOperatorIni);
  fs::remove(Dir_ / L"DOC\\Lintavo.crf");
  const TChildProcess lintavo(Quoted(Dir_ / L"Lintavo.exe"));
  ASSERT_TRUE(WaitForStartUp(lintavo.ProcessId(), false, kLong)) << DescribeFront();
  ASSERT_EQ(InstallSilently(), 0u);
  EXPECT_EQ(lintavo.Wait(kLong), 0u) << "the running copy did not end as if closed";
  EXPECT_TRUE(fs::exists(Dir_ / L"DOC\\Lintavo.crf")) << "the upgrade wrote no files";
  EXPECT_EQ(IniSetting(Ini(), L"ReaderType"), 1);
  EXPECT_EQ(IniSetting(Ini(), L"CheckExit"), 0);
}

TEST_F(Upgrade, SilentUpgradeStopsWhenTheRunningCopyStaysOpen) {
  // The copy asks its exit question, and nobody is there to answer it.
  WriteFileBytes(Ini(), "[SETTINGS]\r\nMinimizeOnRun=0\r\nCheckExit=1\r\n");
  fs::remove(Dir_ / L"DOC\\Lintavo.crf");
  const TChildProcess lintavo(Quoted(Dir_ / L"Lintavo.exe"));
  ASSERT_TRUE(WaitForStartUp(lintavo.ProcessId(), false, kLong)) << DescribeFront();
  EXPECT_EQ(InstallSilently(), kExitProgramRunning);
  EXPECT_TRUE(Running(lintavo));
  EXPECT_NE(FindWindowW(window_class::kMessageForm, kCaptionExit), nullptr) << "the copy was not asked";
  EXPECT_FALSE(fs::exists(Dir_ / L"DOC\\Lintavo.crf")) << "the installer wrote files anyway";
  EXPECT_NE(SetupLogText().find(L"не закрылась"), std::wstring::npos) << "nothing in the log";
}

// ---- the uninstaller ----------------------------------------------------------------------

class Uninstall : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(InstallSilently(Dir_), 0u); }

  // Nothing the installer made is left.
  void ExpectAllGone() const {
    for (const std::wstring& name : kInstalledFiles)
      EXPECT_FALSE(fs::exists(Dir_ / name)) << fs::path(name).string();
    EXPECT_FALSE(fs::exists(Dir_ / kUninstaller));
    EXPECT_FALSE(fs::exists(Dir_ / L"DOC"));
    EXPECT_FALSE(fs::exists(StartMenuShortcut()));
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_FALSE(UninstallEntryExists());
  }

  const fs::path Dir_ = TestFolder(L"удаление");
  const TInstallSandbox Sandbox_{{Dir_}};
};

TEST_F(Uninstall, SilentUninstallKeepsTheSettingsAndTheOperatorsFiles) {
  WriteFileBytes(Dir_ / L"Lintavo.ini", kOperatorIni);
  WriteFileBytes(Dir_ / L"заметки оператора.txt", "не трогать");
  ASSERT_EQ(UninstallSilently(), 0u);
  ExpectAllGone();
  EXPECT_EQ(FileBytes(Dir_ / L"Lintavo.ini"), kOperatorIni);
  EXPECT_EQ(FileBytes(Dir_ / L"заметки оператора.txt"), "не трогать");
}

TEST_F(Uninstall, SilentUninstallOfAnUntouchedInstallLeavesNoFolder) {
  ASSERT_EQ(UninstallSilently(), 0u);
  ExpectAllGone();
  EXPECT_FALSE(fs::exists(Dir_));
}

// The operator runs the uninstaller from the installed programs list and does not keep
// the settings.
TEST_F(Uninstall, OperatorWhoDoesNotKeepTheSettingsLosesThem) {
  WriteFileBytes(Dir_ / L"Lintavo.ini", kOperatorIni);
  const auto command = TRegistryKey(kUninstallKey).String(L"UninstallString");
  ASSERT_TRUE(command.has_value());
  const TProcessTree uninstaller(*command);
  ASSERT_TRUE(uninstaller.Started());

  const auto nextButtonReads = [](const wchar_t* text) {
    return WaitForWindow(
        [text] {
          for (HWND wizard : VisibleTopLevels(window_class::kDialog)) {
            const HWND next = GetDlgItem(wizard, IDOK);
            if (next != nullptr && Caption(next) == text && IsWindowEnabled(next)) return next;
          }
          return HWND{};
        },
        kLong);
  };
  const HWND uninstallButton = nextButtonReads(L"Удалить");
  ASSERT_NE(uninstallButton, nullptr) << "no uninstall page";
  PostMessageW(uninstallButton, BM_CLICK, 0, 0);

  const std::wstring question =
      L"Сохранить настройки программы (файл Lintavo.ini) для следующей установки?";
  const HWND box = WaitForWindow(
      [&] {
        for (HWND window : VisibleTopLevels(window_class::kDialog))
          if (HasChildText(window, question)) return window;
        return HWND{};
      },
      kLong);
  ASSERT_NE(box, nullptr) << "the uninstaller did not ask about the settings";
  PostMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);

  const HWND closeButton = nextButtonReads(L"Закрыть");
  ASSERT_NE(closeButton, nullptr) << "the uninstaller did not finish";
  PostMessageW(closeButton, BM_CLICK, 0, 0);
  EXPECT_EQ(uninstaller.WaitForEnd(kLong), 0u);
  ExpectAllGone();
  EXPECT_FALSE(fs::exists(Dir_));
}

// ---- a folder that cannot be made ------------------------------------------------------

struct TBadFolderCase {
  const char* Name;
  fs::path (*Folder)();
};

// A file stands where a folder of the path should be.
fs::path UnderAFile() {
  const fs::path file = TestFolder(L"файл");
  WriteFileBytes(file, "not a folder");
  return file / L"Lintavo";
}

// The first drive letter from Q on that names no drive.
fs::path OnAMissingDrive() {
  for (wchar_t letter = L'Q'; letter <= L'Y'; ++letter) {
    const std::wstring root = std::wstring(1, letter) + L":\\";
    if (GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR) return root + L"Lintavo";
  }
  return {};
}

class BadFolder : public testing::TestWithParam<TBadFolderCase> {
 protected:
  ~BadFolder() override {
    std::error_code ignored;
    fs::remove(TestFolder(L"файл"), ignored);
  }
  const TInstallSandbox Sandbox_;
};

TEST_P(BadFolder, SilentInstallFailsAndLeavesNothing) {
  const fs::path folder = GetParam().Folder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(InstallSilently(folder), kExitFolderFailed);
  EXPECT_FALSE(Exists(folder));
  EXPECT_FALSE(Exists(DefaultInstallDir())) << "installed into the default folder instead";
  EXPECT_FALSE(fs::exists(StartMenuShortcut()));
  EXPECT_FALSE(RunValue().has_value());
  EXPECT_FALSE(UninstallEntryExists());
  const std::wstring log = SetupLogText();
  EXPECT_NE(log.find(folder.wstring()), std::wstring::npos) << "the log does not name the folder";
}

INSTANTIATE_TEST_SUITE_P(Rows, BadFolder,
                         testing::Values(TBadFolderCase{"UnderAFile", UnderAFile},
                                         TBadFolderCase{"OnAMissingDrive", OnAMissingDrive}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
