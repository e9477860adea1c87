#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "services/cp1251.h"
#include "services/trint.h"
#include "services/trint_win.h"
#include "win_test_windows.h"

namespace {

std::wstring TestDirectory() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, n);
  return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

// The product's folder of this build, beside the tests' folder.
std::wstring BinDirectory() { return TestDirectory() + L"..\\bin\\"; }

// A fresh folder under the temporary directory, removed with its files afterwards.
class TScratchDirectory {
 public:
  explicit TScratchDirectory(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    Path_ = std::wstring(temp) + L"lintavo-" + name + L"-" +
            std::to_wstring(GetCurrentProcessId()) + L"\\";
    Remove();
    CreateDirectoryW(Path_.c_str(), nullptr);
  }
  TScratchDirectory(const TScratchDirectory&) = delete;
  TScratchDirectory& operator=(const TScratchDirectory&) = delete;
  ~TScratchDirectory() { Remove(); }
  const std::wstring& Path() const { return Path_; }

 private:
  void Remove() {
    std::wstring from = Path_ + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
  }
  std::wstring Path_;
};

void CopyInto(const std::wstring& from, const std::wstring& directory, const std::wstring& name) {
  ASSERT_TRUE(CopyFileW(from.c_str(), (directory + name).c_str(), FALSE))
      << "copy " << std::string(from.begin(), from.end());
}

struct TSeenBox {
  std::wstring Caption;
  std::wstring Text;
};

struct TProbeRun {
  DWORD ExitCode = 0;
  std::vector<TSeenBox> Boxes;
  std::vector<std::string> Log;  // UTF-8 lines
};

std::vector<std::string> ReadLines(const std::wstring& path) {
  std::ifstream file(path.c_str());
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

std::wstring BoxText(HWND box) {
  // The message box's text is its static control that is not the icon.
  for (HWND child : ChildWindows(box)) {
    if (ClassName(child) == L"Static" && !WindowText(child).empty()) return WindowText(child);
  }
  return {};
}

// Runs the probe in its folder with the given working directory, answering every message box
// and dialog it shows with its OK button, and returns what happened. A probe that does not
// end in time is killed, so no test leaves one behind.
TProbeRun RunProbe(const std::wstring& probeDirectory, const std::wstring& workingDirectory,
                   const std::wstring& commands) {
  TProbeRun run;
  const std::wstring log = probeDirectory + L"calls.log";
  DeleteFileW(log.c_str());
  SetEnvironmentVariableW(L"LINTAVO_CALL_LOG", log.c_str());
  std::wstring commandLine = L"\"" + probeDirectory + L"services_probe.exe\" " + commands;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory.c_str(), &si, &pi)) {
    ADD_FAILURE() << "probe did not start";
    return run;
  }
  const DWORD start = GetTickCount();
  std::vector<HWND> answered;
  while (WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT) {
    if (GetTickCount() - start > 20000) {
      TerminateProcess(pi.hProcess, 99);
      WaitForSingleObject(pi.hProcess, 5000);
      ADD_FAILURE() << "probe did not finish";
      break;
    }
    for (HWND window : TopLevelWindowsOfProcess(pi.dwProcessId)) {
      if (ClassName(window) != L"#32770") continue;
      if (std::find(answered.begin(), answered.end(), window) != answered.end()) continue;
      answered.push_back(window);
      run.Boxes.push_back({WindowText(window), BoxText(window)});
      PostMessageW(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    }
  }
  GetExitCodeProcess(pi.hProcess, &run.ExitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  run.Log = ReadLines(log);
  return run;
}

using Lines = std::vector<std::string>;

const std::wstring kLibraryMissing =
    L"Библиотека для работы с документацией/помощью (qvm_help.dll)\rне загружена!";
const std::wstring kInitError = L"Ошибка инициализации подсистемы помощи!";

class HelpBridge : public testing::Test {
 protected:
  TScratchDirectory Folder{L"help"};
  void SetUp() override {
    CopyInto(TestDirectory() + L"services_probe.exe", Folder.Path(), L"services_probe.exe");
  }
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
  CopyInto(TestDirectory() + L"fakes\\help\\qvm_help.dll", Folder.Path(), L"qvm_help.dll");
  const TProbeRun run =
      RunProbe(Folder.Path(), Folder.Path(), L"help-create context 20 contents context 30 release");
  EXPECT_TRUE(run.Boxes.empty());
  std::wstring dir = Folder.Path() + L"DOC";
  char utf8[MAX_PATH * 3];
  WideCharToMultiByte(CP_UTF8, 0, dir.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
  EXPECT_EQ(run.Log, (Lines{"attach", "export_list", std::string("init ") + utf8 + "|Lintavo.crf|0",
                            "context 20", "contents", "context 30", "detach"}));
}

// Program folders whose names the library must receive in code page 1251: plain, Cyrillic,
// and one with a character the code page lacks, which goes by its short form.
class HelpBridgeFolder : public testing::TestWithParam<const wchar_t*> {
 protected:
  TScratchDirectory Folder{GetParam()};
  void SetUp() override {
    CopyInto(TestDirectory() + L"services_probe.exe", Folder.Path(), L"services_probe.exe");
  }
};

TEST_P(HelpBridgeFolder, TheLibraryIsToldAPathThatLeadsToTheDocumentFolder) {
  CopyInto(TestDirectory() + L"fakes\\help\\qvm_help.dll", Folder.Path(), L"qvm_help.dll");
  CreateDirectoryW((Folder.Path() + L"DOC").c_str(), nullptr);
  const TProbeRun run = RunProbe(Folder.Path(), Folder.Path(), L"help-create release");
  ASSERT_EQ(run.Log.size(), 4u);
  const std::wstring init = FromUtf8(run.Log[2]);
  const std::wstring prefix = L"init ", suffix = L"|Lintavo.crf|0";
  ASSERT_EQ(init.rfind(prefix, 0), 0u) << run.Log[2];
  ASSERT_GT(init.size(), prefix.size() + suffix.size());
  ASSERT_EQ(init.substr(init.size() - suffix.size()), suffix) << run.Log[2];
  const std::wstring told = init.substr(prefix.size(), init.size() - prefix.size() - suffix.size());
  EXPECT_EQ(LongPathOf(told), Folder.Path() + L"DOC");
}

TEST_P(HelpBridgeFolder, TheRealLibraryFindsTheDocument) {
  CopyInto(BinDirectory() + L"qvm_help.dll", Folder.Path(), L"qvm_help.dll");
  CreateDirectoryW((Folder.Path() + L"DOC").c_str(), nullptr);
  CopyInto(BinDirectory() + L"DOC\\Lintavo.crf", Folder.Path() + L"DOC\\", L"Lintavo.crf");
  const TProbeRun run =
      RunProbe(Folder.Path(), Folder.Path(), L"help-create context 20 pump 300 viewer release");
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
  CopyInto(TestDirectory() + L"fakes\\help_bare\\qvm_help.dll", Folder.Path(), L"qvm_help.dll");
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
  CopyInto(TestDirectory() + L"fakes\\help\\qvm_help.dll", Folder.Path(), L"qvm_help.dll");
  const TProbeRun run =
      RunProbe(Folder.Path(), Folder.Path(), L"contents help-create release context 20");
  ASSERT_EQ(run.Boxes.size(), 2u);
  EXPECT_EQ(run.Boxes[0].Text, kInitError);
  EXPECT_EQ(run.Boxes[1].Text, kInitError);
  EXPECT_EQ(std::count(run.Log.begin(), run.Log.end(), "context 20"), 0);
}

TEST_F(HelpBridge, TheRealHelpLibraryShowsTopicsAndClosesItsWindowWhenUnloaded) {
  CopyInto(BinDirectory() + L"qvm_help.dll", Folder.Path(), L"qvm_help.dll");
  CreateDirectoryW((Folder.Path() + L"DOC").c_str(), nullptr);
  CopyInto(BinDirectory() + L"DOC\\Lintavo.crf", Folder.Path() + L"DOC\\", L"Lintavo.crf");
  const TProbeRun run =
      RunProbe(Folder.Path(), Folder.Path(),
               L"help-create context 20 pump 300 viewer context 30 pump 300 viewer "
               L"contents pump 300 viewer context 999 pump 200 viewer release viewer");
  EXPECT_TRUE(run.Boxes.empty());
  EXPECT_EQ(run.Log,
            (Lines{"viewer Помощь: Главное окно|Главное окно программы",
                   "viewer Помощь: Настройка программы|Настройка программы",
                   "viewer Помощь: Содержание|Драйвер контрольного считывателя",
                   "viewer Помощь: Содержание|Драйвер контрольного считывателя", "viewer none"}));
}

class AboutBridge : public HelpBridge {};

TEST_F(AboutBridge, EachRequestLoadsAndUnloadsTheLibrary) {
  CopyInto(TestDirectory() + L"fakes\\about\\about.dll", Folder.Path(), L"about.dll");
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
  CopyInto(TestDirectory() + L"fakes\\about_bare\\about.dll", Folder.Path(), L"about.dll");
  const TProbeRun run = RunProbe(Folder.Path(), Folder.Path(), L"about");
  ASSERT_EQ(run.Boxes.size(), 1u);
  EXPECT_EQ(run.Boxes[0].Caption, L"Ошибка");
  EXPECT_EQ(run.Boxes[0].Text, L"Функция show_about в библиотеке about.dll не найдена");
  EXPECT_EQ(run.Log, (Lines{"attach", "detach", "about returned, loaded no"}));
}

TEST_F(AboutBridge, TheRealAboutBoxIsModalAndNamesTheProgram) {
  CopyInto(BinDirectory() + L"about.dll", Folder.Path(), L"about.dll");
  const TProbeRun run = RunProbe(Folder.Path(), Folder.Path(), L"about");
  ASSERT_EQ(run.Boxes.size(), 1u);
  EXPECT_EQ(run.Boxes[0].Caption, L"О программе");
  EXPECT_EQ(run.Boxes[0].Text, L"Драйвер контрольного считывателя");
  EXPECT_EQ(run.Log, (Lines{"about returned, loaded no"}));
}

class LibrarySearch : public HelpBridge {
 protected:
  TScratchDirectory WorkingDirectory{L"cwd"};
  void SetUp() override {
    HelpBridge::SetUp();
    CopyInto(TestDirectory() + L"fakes\\about\\about.dll", WorkingDirectory.Path(), L"about.dll");
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
  CopyInto(TestDirectory() + L"fakes\\about\\about.dll", Folder.Path(), L"about.dll");
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
  HWND Window = CreateWindowExW(0, L"STATIC", L"caption", WS_POPUP, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
  HWND Child = CreateWindowExW(0, L"BUTTON", L"button", WS_CHILD, 0, 0, 50, 20, Window, nullptr,
                               nullptr, nullptr);
  ~TTestWindow() { DestroyWindow(Window); }
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
