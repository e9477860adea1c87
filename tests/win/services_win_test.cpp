#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/unique_handle_win.h"
#include "services/cp1251.h"
#include "services/trint.h"
#include "services/trint_win.h"
#include "tests/support/child_process.h"
#include "tests/support/companion_folder.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"

namespace fs = std::filesystem;

namespace {

struct TSeenBox {
  std::wstring Caption;
  std::wstring Text;
};

struct TProbeRun {
  std::vector<TSeenBox> Boxes;
  std::vector<std::string> Log;  // UTF-8 lines
};

std::vector<std::string> ReadLines(const fs::path& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

// Runs the probe in its folder with the given working directory, answering every message box
// and dialog it shows with its OK button, and returns what happened. A probe that does not
// end in time is ended, so no test leaves one behind.
TProbeRun RunProbe(const fs::path& probeDirectory, const fs::path& workingDirectory,
                   const std::wstring& commands) {
  TProbeRun run;
  const fs::path log = probeDirectory / L"calls.log";
  fs::remove(log);
  SetEnvironmentVariableW(L"LINTAVO_CALL_LOG", log.c_str());
  const std::wstring probePath = (probeDirectory / L"services_probe.exe").wstring();
  TChildProcess probe(L"\"" + probePath + L"\" " + commands, workingDirectory.wstring());
  if (!probe.Started()) {
    ADD_FAILURE() << "probe did not start";
    return run;
  }
  const DWORD start = GetTickCount();
  std::vector<HWND> answered;
  while (probe.Wait(20) == STILL_ACTIVE) {
    if (GetTickCount() - start > 20000) {
      probe.Kill();
      ADD_FAILURE() << "probe did not finish";
      break;
    }
    for (HWND window : TopLevelWindowsOfProcess(probe.ProcessId())) {
      if (ClassName(window) != window_class::kDialog) continue;
      if (std::find(answered.begin(), answered.end(), window) != answered.end()) continue;
      answered.push_back(window);
      run.Boxes.push_back({WindowText(window), MessageBoxText(window)});
      PostMessageW(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    }
  }
  run.Log = ReadLines(log);
  return run;
}

using Lines = std::vector<std::string>;

const std::wstring kLibraryMissing =
    L"Библиотека для работы с документацией/помощью (qvm_help.dll)\rне загружена!";
const std::wstring kInitError = L"Ошибка инициализации подсистемы помощи!";

class HelpBridge : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Folder.AddProbe()); }

  const TCompanionFolder Folder{L"lintavo-help"};
};

std::wstring FromUtf8(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
      CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), wide.data(),
      static_cast<int>(wide.size()))));
  return wide;
}

std::wstring LongPathOf(const std::wstring& path) {
  wchar_t full[MAX_PATH * 2] = {};
  GetLongPathNameW(path.c_str(), full, MAX_PATH * 2);
  return full;
}

TEST_F(HelpBridge, CallsReachTheLibraryInTheContractsOrder) {
  ASSERT_TRUE(Folder.AddFake(L"help", L"qvm_help.dll"));
  const TProbeRun run =
      RunProbe(Folder.Path(), Folder.Path(), L"help-create context 20 contents context 30 release");
  EXPECT_TRUE(run.Boxes.empty());
  const std::wstring dir = (Folder.Path() / L"DOC").wstring();
  char utf8[MAX_PATH * 3];
  WideCharToMultiByte(CP_UTF8, 0, dir.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
  EXPECT_EQ(run.Log, (Lines{"attach", "export_list", std::string("init ") + utf8 + "|Lintavo.crf|0",
                            "context 20", "contents", "context 30", "detach"}));
}

// Program folders whose names the library must receive in code page 1251: plain, Cyrillic,
// and one with a character the code page lacks, which goes by its short form.
class HelpBridgeFolder : public testing::TestWithParam<const wchar_t*> {
 protected:
  void SetUp() override { ASSERT_TRUE(Folder.AddProbe()); }

  const TCompanionFolder Folder{std::wstring(L"lintavo-") + GetParam()};
};

TEST_P(HelpBridgeFolder, TheLibraryIsToldAPathThatLeadsToTheDocumentFolder) {
  ASSERT_TRUE(Folder.AddFake(L"help", L"qvm_help.dll"));
  ASSERT_TRUE(Folder.AddDocFolder());
  const TProbeRun run = RunProbe(Folder.Path(), Folder.Path(), L"help-create release");
  ASSERT_EQ(run.Log.size(), 4u);
  const std::wstring init = FromUtf8(run.Log[2]);
  const std::wstring prefix = L"init ", suffix = L"|Lintavo.crf|0";
  ASSERT_EQ(init.rfind(prefix, 0), 0u) << run.Log[2];
  ASSERT_GT(init.size(), prefix.size() + suffix.size());
  ASSERT_EQ(init.substr(init.size() - suffix.size()), suffix) << run.Log[2];
  const std::wstring told = init.substr(prefix.size(), init.size() - prefix.size() - suffix.size());
  EXPECT_EQ(LongPathOf(told), (Folder.Path() / L"DOC").wstring());
}

TEST_P(HelpBridgeFolder, TheRealLibraryFindsTheDocument) {
  ASSERT_TRUE(Folder.AddRealHelp());
  const TProbeRun run =
      RunProbe(Folder.Path(), Folder.Path(), L"help-create context 20 pump viewer release");
  EXPECT_TRUE(run.Boxes.empty());
  EXPECT_EQ(run.Log, (Lines{"viewer Помощь: Главное окно|Главное окно программы"}));
}

std::string FolderCaseName(const testing::TestParamInfo<const wchar_t*>& info) {
  const char* const names[] = {"Latin", "Cyrillic", "BeyondCodePage"};
  return names[info.index];
}

INSTANTIATE_TEST_SUITE_P(Names, HelpBridgeFolder,
                         testing::Values(L"help", L"справка", L"帮助 help"), FolderCaseName);

TEST_F(HelpBridge, WithoutTheLibraryEveryRequestShowsTheMissingBox) {
  const TProbeRun run =
      RunProbe(Folder.Path(), Folder.Path(), L"help-create contents context 20 release");
  ASSERT_EQ(run.Boxes.size(), 2u);
  for (const TSeenBox& box : run.Boxes) {
    EXPECT_EQ(box.Caption, L"Помощь");
    EXPECT_EQ(box.Text, kLibraryMissing);
  }
}

TEST_F(HelpBridge, ALibraryWithoutTheExportListGivesTheInitialisationBox) {
  ASSERT_TRUE(Folder.AddFake(L"help_bare", L"qvm_help.dll"));
  const TProbeRun run =
      RunProbe(Folder.Path(), Folder.Path(), L"help-create contents context 30 release");
  ASSERT_EQ(run.Boxes.size(), 2u);
  for (const TSeenBox& box : run.Boxes) {
    EXPECT_EQ(box.Caption, L"Помощь");
    EXPECT_EQ(box.Text, kInitError);
  }
  EXPECT_EQ(run.Log, (Lines{"attach", "detach"}));
}

TEST_F(HelpBridge, RequestsBeforeCreationOrAfterReleaseGiveTheInitialisationBox) {
  ASSERT_TRUE(Folder.AddFake(L"help", L"qvm_help.dll"));
  const TProbeRun run =
      RunProbe(Folder.Path(), Folder.Path(), L"contents help-create release context 20");
  ASSERT_EQ(run.Boxes.size(), 2u);
  EXPECT_EQ(run.Boxes[0].Text, kInitError);
  EXPECT_EQ(run.Boxes[1].Text, kInitError);
  EXPECT_EQ(std::count(run.Log.begin(), run.Log.end(), "context 20"), 0);
}

TEST_F(HelpBridge, TheRealHelpLibraryShowsTopicsAndClosesItsWindowWhenUnloaded) {
  ASSERT_TRUE(Folder.AddRealHelp());
  const TProbeRun run =
      RunProbe(Folder.Path(), Folder.Path(),
               L"help-create context 20 pump viewer context 30 pump viewer "
               L"contents pump viewer context 999 pump viewer release viewer");
  EXPECT_TRUE(run.Boxes.empty());
  EXPECT_EQ(run.Log,
            (Lines{"viewer Помощь: Главное окно|Главное окно программы",
                   "viewer Помощь: Настройка программы|Настройка программы",
                   "viewer Помощь: Содержание|Драйвер контрольного считывателя",
                   "viewer Помощь: Содержание|Драйвер контрольного считывателя", "viewer none"}));
}

class AboutBridge : public HelpBridge {};

TEST_F(AboutBridge, EachRequestLoadsAndUnloadsTheLibrary) {
  ASSERT_TRUE(Folder.AddFake(L"about", L"about.dll"));
  const TProbeRun run = RunProbe(Folder.Path(), Folder.Path(), L"about about");
  EXPECT_TRUE(run.Boxes.empty());
  EXPECT_EQ(run.Log, (Lines{"attach", "show_about", "detach", "about returned, loaded no", "attach",
                            "show_about", "detach", "about returned, loaded no"}));
}

TEST_F(AboutBridge, WithoutTheLibraryTheLoadFailureBox) {
  const TProbeRun run = RunProbe(Folder.Path(), Folder.Path(), L"about");
  ASSERT_EQ(run.Boxes.size(), 1u);
  EXPECT_EQ(run.Boxes[0].Caption, L"Ошибка");
  EXPECT_EQ(run.Boxes[0].Text, L"Не удалось загрузить библиотеку about.dll");
}

TEST_F(AboutBridge, ALibraryWithoutTheExportGivesTheNotFoundBoxAndIsStillUnloaded) {
  ASSERT_TRUE(Folder.AddFake(L"about_bare", L"about.dll"));
  const TProbeRun run = RunProbe(Folder.Path(), Folder.Path(), L"about");
  ASSERT_EQ(run.Boxes.size(), 1u);
  EXPECT_EQ(run.Boxes[0].Caption, L"Ошибка");
  EXPECT_EQ(run.Boxes[0].Text, L"Функция show_about в библиотеке about.dll не найдена");
  EXPECT_EQ(run.Log, (Lines{"attach", "detach", "about returned, loaded no"}));
}

TEST_F(AboutBridge, TheRealAboutBoxIsModalAndNamesTheProgram) {
  ASSERT_TRUE(Folder.AddReal(L"about.dll"));
  const TProbeRun run = RunProbe(Folder.Path(), Folder.Path(), L"about");
  ASSERT_EQ(run.Boxes.size(), 1u);
  EXPECT_EQ(run.Boxes[0].Caption, L"О программе");
  EXPECT_EQ(run.Boxes[0].Text, L"Драйвер контрольного считывателя");
  EXPECT_EQ(run.Log, (Lines{"about returned, loaded no"}));
}

class LibrarySearch : public HelpBridge {
 protected:
  const TCompanionFolder WorkingDirectory{L"lintavo-cwd"};
  void SetUp() override {
    HelpBridge::SetUp();
    ASSERT_TRUE(WorkingDirectory.AddFake(L"about", L"about.dll"));
  }
};

TEST_F(LibrarySearch, WithoutTheGuardAPlantedLibraryWouldBeLoaded) {
  // Shows that the planted library is reachable at all, so the next test means something.
  const TProbeRun run = RunProbe(Folder.Path(), WorkingDirectory.Path(), L"about");
  ASSERT_FALSE(run.Log.empty());
  EXPECT_EQ(run.Log.front(), "attach");
}

TEST_F(LibrarySearch, APlantedLibraryInTheWorkingDirectoryIsNotLoaded) {
  const TProbeRun run = RunProbe(Folder.Path(), WorkingDirectory.Path(), L"secure about");
  EXPECT_EQ(run.Log, (Lines{"about returned, loaded no"}));
  ASSERT_EQ(run.Boxes.size(), 1u);
  EXPECT_EQ(run.Boxes[0].Text, L"Не удалось загрузить библиотеку about.dll");
}

TEST_F(LibrarySearch, TheProgramsOwnDirectoryIsStillSearched) {
  ASSERT_TRUE(Folder.AddFake(L"about", L"about.dll"));
  const TProbeRun run = RunProbe(Folder.Path(), WorkingDirectory.Path(), L"secure about");
  EXPECT_TRUE(run.Boxes.empty());
  EXPECT_EQ(run.Log, (Lines{"attach", "show_about", "detach", "about returned, loaded no"}));
}

TEST(Cp1251Table, AgreesWithThePlatformsCodePage) {
  for (int byte = 1; byte < 256; ++byte) {
    const char narrow = static_cast<char>(byte);
    wchar_t wide = 0;
    ASSERT_EQ(MultiByteToWideChar(1251, 0, &narrow, 1, &wide, 1), 1);
    EXPECT_EQ(Cp1251ToWide(std::string(1, narrow)), std::wstring(1, wide)) << "byte " << byte;
  }
}

// A provider that upper-cases Latin letters, for the hook's pass over a real window.
const char* LINTAVO_PROVIDER_CALL Upper(const char* text, std::int32_t) {
  static std::string buffer;
  buffer = text;
  for (char& c : buffer) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return buffer.c_str();
}
const char* LINTAVO_PROVIDER_CALL English() { return "ENG"; }
std::int32_t LINTAVO_PROVIDER_CALL Zero() { return 0; }
std::int32_t LINTAVO_PROVIDER_CALL ZeroCode(const char*) { return 0; }
std::int32_t LINTAVO_PROVIDER_CALL ZeroCount(std::int32_t*) { return 0; }
std::int32_t LINTAVO_PROVIDER_CALL ZeroDictionary(std::int32_t, const char**, const char**) {
  return 0;
}

struct TTestWindow {
  TUniqueWindow Owner{CreateWindowExW(0, L"STATIC", L"caption", WS_POPUP, 0, 0, 100, 100,
                                      nullptr, nullptr, nullptr, nullptr)};
  HWND Window = Owner.Get();
  HWND Child = CreateWindowExW(0, L"BUTTON", L"button", WS_CHILD, 0, 0, 50, 20, Window, nullptr,
                               nullptr, nullptr);
};

TEST(TranslateWindow, UnboundLeavesTheWindowAsBuilt) {
  TTestWindow w;
  EXPECT_EQ(TranslateForm(w.Window, true), TranslateUnbound);
  EXPECT_EQ(WindowText(w.Window), L"caption");
  EXPECT_EQ(WindowText(w.Child), L"button");
}

TEST(TranslateWindow, BoundPassesTheCaptionAndChildTexts) {
  TTestWindow w;
  ASSERT_TRUE(BindTranslationProvider({ZeroCode, English, ZeroCount, ZeroDictionary, Upper, Zero}));
  EXPECT_EQ(TranslateForm(w.Window, false), TranslateDone);
  UnbindTranslationProvider();
  EXPECT_EQ(WindowText(w.Window), L"CAPTION");
  EXPECT_EQ(WindowText(w.Child), L"BUTTON");
}

}  // namespace
