// Drives the operator's installer and uninstaller from outside and reads back what they
// left: the program's folder, the Start-menu shortcut, the Run value and the installed
// programs entry. The tests of one run share a Wine prefix, so TInstallSandbox takes all of
// it away before and after each test.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/unique_handle_win.h"
#include "lintavo_version.h"
#include "tests/e2e/lintavo_instance.h"
#include "tests/support/test_paths.h"
#include "tests/support/wait.h"

namespace e2e {

inline constexpr wchar_t kProductName[] = L"" LINTAVO_PRODUCT_NAME;
inline constexpr wchar_t kVersion[] = L"" LINTAVO_VERSION_TEXT;
inline constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lintavo";
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValue[] = L"Lintavo";
inline constexpr wchar_t kUninstaller[] = L"uninstall.exe";
inline constexpr wchar_t kMainWindowClass[] = L"TLintavoForm";

// The installer's exit codes beside NSIS's own.
inline constexpr DWORD kExitProgramRunning = 3;
inline constexpr DWORD kExitFolderFailed = 4;

// What the installer puts in the program's folder (the uninstaller comes on top).
inline const std::vector<std::wstring> kInstalledFiles = {L"Lintavo.exe", L"about.dll",
                                                          L"qvm_help.dll", L"DOC\\Lintavo.crf"};

// The build leaves the installer beside bin/.
inline fs::path SetupPath() {
  return ProductDir().parent_path() / (std::wstring(L"Lintavo-") + kVersion + L"-setup.exe");
}

inline fs::path KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  fs::path result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
  CoTaskMemFree(path);
  return result;
}

inline fs::path DefaultInstallDir() { return KnownFolder(FOLDERID_LocalAppData) / L"Programs\\Lintavo"; }
inline fs::path StartMenuShortcut() {
  return KnownFolder(FOLDERID_Programs) / (std::wstring(kProductName) + L".lnk");
}
inline fs::path SetupLog() { return fs::temp_directory_path() / L"Lintavo-setup.log"; }

// ---- the current user's registry ----------------------------------------------------------

class TRegistryKey {
 public:
  explicit TRegistryKey(const wchar_t* path) {
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ | KEY_SET_VALUE, &Key_) != ERROR_SUCCESS)
      Key_ = nullptr;
  }
  ~TRegistryKey() {
    if (Key_ != nullptr) RegCloseKey(Key_);
  }
  TRegistryKey(const TRegistryKey&) = delete;
  TRegistryKey& operator=(const TRegistryKey&) = delete;

  bool Exists() const { return Key_ != nullptr; }

  std::optional<std::wstring> String(const wchar_t* name) const {
    wchar_t value[1024] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    if (Key_ == nullptr ||
        RegQueryValueExW(Key_, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
      return std::nullopt;
    return std::wstring(value);
  }

  std::optional<DWORD> Dword(const wchar_t* name) const {
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    if (Key_ == nullptr ||
        RegQueryValueExW(Key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
      return std::nullopt;
    return value;
  }

  void Remove(const wchar_t* name) const {
    if (Key_ != nullptr) RegDeleteValueW(Key_, name);
  }

 private:
  HKEY Key_ = nullptr;
};

inline std::optional<std::wstring> RunValue() { return TRegistryKey(kRunKey).String(kRunValue); }
inline bool UninstallEntryExists() { return TRegistryKey(kUninstallKey).Exists(); }

// ---- the Start-menu shortcut -----------------------------------------------------------

// The program a shortcut starts, or empty when it cannot be read. Read through the item list
// as the shell reads it: Wine keeps the plain path only in the ANSI code page.
inline std::wstring ShortcutTarget(const fs::path& link) {
  const bool initialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  std::wstring target;
  IShellLinkW* shell = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&shell)))) {
    IPersistFile* file = nullptr;
    PIDLIST_ABSOLUTE items = nullptr;
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(link.c_str(), STGM_READ)) && SUCCEEDED(shell->GetIDList(&items)) &&
        SHGetPathFromIDListW(items, path))
      target = path;
    CoTaskMemFree(items);
    if (file != nullptr) file->Release();
    shell->Release();
  }
  if (initialised) CoUninitialize();
  return target;
}

// ---- running the installer and the uninstaller ---------------------------------------------

// Whether a process runs a program of Wine's own system folder: Wine starts its desktop and
// services on demand as children of whichever program needs them first.
inline bool SystemProcess(DWORD processId) {
  const TUniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  wchar_t image[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  if (!process.Valid() || !QueryFullProcessImageNameW(process.Get(), 0, image, &length))
    return false;
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  return _wcsnicmp(image, windows, wcslen(windows)) == 0;
}

// A program together with every process it starts: the uninstaller hands its work to a copy
// of itself in the temporary folder and returns at once, so its end is the end of the whole
// tree. Whatever of it still runs when the object goes is ended with it.
class TProcessTree {
 public:
  explicit TProcessTree(std::wstring commandLine) : Job_(CreateJobObjectW(nullptr, nullptr)) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &info))
      return;
    Process_.Reset(info.hProcess);
    const TUniqueHandle thread(info.hThread);
    AssignProcessToJobObject(Job_.Get(), Process_.Get());
    ResumeThread(thread.Get());
  }
  ~TProcessTree() {
    for (const DWORD id : Running()) {
      const TUniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
      if (!process.Valid()) continue;
      TerminateProcess(process.Get(), 1);
      WaitForSingleObject(process.Get(), 5000);
    }
  }
  TProcessTree(const TProcessTree&) = delete;
  TProcessTree& operator=(const TProcessTree&) = delete;

  bool Started() const { return Process_.Valid(); }
  bool Ended() const { return Running().empty(); }

  // The first program's exit code once the whole tree has ended, or STILL_ACTIVE.
  DWORD WaitForEnd(DWORD timeoutMs) const {
    DWORD code = STILL_ACTIVE;
    if (Started() && WaitUntil([this] { return Ended(); }, timeoutMs))
      GetExitCodeProcess(Process_.Get(), &code);
    return code;
  }

 private:
  // The tree's processes still running, Wine's own left out.
  std::vector<DWORD> Running() const {
    struct {
      JOBOBJECT_BASIC_PROCESS_ID_LIST head;
      ULONG_PTR more[63];
    } list{};
    std::vector<DWORD> running;
    if (!QueryInformationJobObject(Job_.Get(), JobObjectBasicProcessIdList, &list, sizeof(list),
                                   nullptr))
      return running;
    for (DWORD i = 0; i < list.head.NumberOfProcessIdsInList; ++i) {
      const auto id = static_cast<DWORD>(list.head.ProcessIdList[i]);
      if (!SystemProcess(id)) running.push_back(id);
    }
    return running;
  }

  TUniqueHandle Job_;
  TUniqueHandle Process_;
};

inline constexpr DWORD kSetupTimeoutMs = 60'000;

// Runs the installer with the given switches to its end; its exit code.
inline DWORD RunSetup(const std::wstring& switches) {
  return TProcessTree(L"\"" + SetupPath().wstring() + L"\" " + switches).WaitForEnd(kSetupTimeoutMs);
}

inline DWORD InstallSilently(const fs::path& dir = {}) {
  return RunSetup(dir.empty() ? L"/S" : L"/S /D=" + dir.wstring());
}

// Runs the installed programs entry's quiet uninstall command to its end; its exit code.
inline DWORD UninstallSilently() {
  const auto command = TRegistryKey(kUninstallKey).String(L"QuietUninstallString");
  return command ? TProcessTree(*command).WaitForEnd(kSetupTimeoutMs) : STILL_ACTIVE;
}

// ---- files -------------------------------------------------------------------------------

inline std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The installer's log, UTF-16 with a byte-order mark.
inline std::wstring SetupLogText() {
  const std::string bytes = FileBytes(SetupLog());
  std::wstring text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
    text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                        static_cast<unsigned char>(bytes[i + 1]) << 8));
  return text;
}

// Removes every trace of an installed Lintavo (and of the folders a test names) before the
// test and again after it, whatever its assertions did. No copy of the program may run.
class TInstallSandbox {
 public:
  explicit TInstallSandbox(std::vector<fs::path> folders = {}) : Folders_(std::move(folders)) {
    Folders_.push_back(DefaultInstallDir());
    Clear();
  }
  ~TInstallSandbox() { Clear(); }
  TInstallSandbox(const TInstallSandbox&) = delete;
  TInstallSandbox& operator=(const TInstallSandbox&) = delete;

 private:
  void Clear() const {
    std::error_code ignored;
    for (const fs::path& folder : Folders_) fs::remove_all(folder, ignored);
    fs::remove(StartMenuShortcut(), ignored);
    fs::remove(SetupLog(), ignored);
    TRegistryKey(kRunKey).Remove(kRunValue);
    RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKey);
  }

  std::vector<fs::path> Folders_;
};

// A folder of a test's own under the temporary folder, with a space and Cyrillic letters in
// its name as an operator's folder may have.
inline fs::path TestFolder(const std::wstring& name) {
  return fs::temp_directory_path() / (L"Линтаво установка " + name);
}

}  // namespace e2e
