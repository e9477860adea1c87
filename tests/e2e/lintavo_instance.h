// The real Lintavo.exe for an end-to-end test: copied with its companions into a folder of
// its own (with or without a settings file), started, found, and always ended and removed
// with the object, whatever the test's assertions did.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/win/reader_child_process.h"
#include "tests/win/reader_notepad.h"
#include "tests/win/win_test_windows.h"

namespace e2e {

namespace fs = std::filesystem;

// The build's bin/ folder (Lintavo.exe, about.dll, qvm_help.dll, DOC/), named by the rig in
// LINTAVO_BIN_DIR as a host path; Wine reaches host paths through drive Z:.
inline fs::path BinDir() {
  wchar_t value[MAX_PATH] = {};
  GetEnvironmentVariableW(L"LINTAVO_BIN_DIR", value, MAX_PATH);
  std::wstring path = value;
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  return fs::path(path).make_preferred();
}

class TLintavoInstance {
 public:
  // A folder of its own under the temporary folder, named with Cyrillic letters so that
  // paths beyond the ANSI code page are exercised too.
  explicit TLintavoInstance(const std::wstring& name) {
    Dir_ = fs::temp_directory_path() / (L"Линтаво " + name);
    fs::remove_all(Dir_);
    fs::create_directories(Dir_);
    fs::copy(BinDir(), Dir_, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
  ~TLintavoInstance() {
    Kill();
    std::error_code ignored;
    fs::remove_all(Dir_, ignored);
  }
  TLintavoInstance(const TLintavoInstance&) = delete;
  TLintavoInstance& operator=(const TLintavoInstance&) = delete;

  const fs::path& Dir() const { return Dir_; }
  fs::path IniPath() const { return Dir_ / L"Lintavo.ini"; }

  void WriteIni(const std::string& text) const {
    std::ofstream(IniPath(), std::ios::binary) << text;
  }
  std::string ReadIni() const {
    std::ifstream in(IniPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void RemoveFile(const std::wstring& name) const { fs::remove(Dir_ / name); }

  // Starts the program; the working directory is the given one, or the program's own.
  bool Start(const fs::path& workingDir = {}) {
    Kill();
    const std::wstring exe = (Dir_ / L"Lintavo.exe").wstring();
    std::wstring command = L"\"" + exe + L"\"";
    const std::wstring cwd = (workingDir.empty() ? Dir_ : workingDir).wstring();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        cwd.c_str(), &startup, &info))
      return false;
    Process_ = info.hProcess;
    ProcessId_ = info.dwProcessId;
    CloseHandle(info.hThread);
    return true;
  }

  DWORD ProcessId() const { return ProcessId_; }
  HANDLE Process() const { return Process_; }
  bool Running() const {
    return Process_ != nullptr && WaitForSingleObject(Process_, 0) == WAIT_TIMEOUT;
  }
  // The exit code, or STILL_ACTIVE when the program did not end in time.
  DWORD WaitForExit(DWORD timeoutMs) const {
    DWORD code = STILL_ACTIVE;
    if (Process_ != nullptr && WaitForSingleObject(Process_, timeoutMs) == WAIT_OBJECT_0)
      GetExitCodeProcess(Process_, &code);
    return code;
  }

  // The first top-level window of this program with the given class (and caption).
  HWND FindTopLevel(const wchar_t* className, const wchar_t* caption = nullptr) const {
    TSearch search{ProcessId_, className, caption, nullptr};
    EnumWindows(&TLintavoInstance::MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.Found;
  }

  HWND WaitForTopLevel(const wchar_t* className, const wchar_t* caption = nullptr,
                       DWORD timeoutMs = 10'000) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(className, caption)) != nullptr; }, timeoutMs);
    return found;
  }

  HWND MainWindow(DWORD timeoutMs = 10'000) const {
    return WaitForTopLevel(L"TLintavoForm", nullptr, timeoutMs);
  }

  // The texts of the main window's labels, in creation order: the two captions, then the
  // reader type and the port state.
  std::vector<std::wstring> LabelTexts() const {
    std::vector<std::wstring> texts;
    const HWND main = MainWindow(0);
    for (HWND child = GetWindow(main, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t cls[64] = {};
      GetClassNameW(child, cls, 64);
      if (std::wstring(cls) != L"Static") continue;
      wchar_t text[256] = {};
      GetWindowTextW(child, text, 256);
      texts.emplace_back(text);
    }
    return texts;
  }

  // The windows the task bar and Alt+Tab show for the program: its visible top-level
  // windows that no window owns and that are not tool windows, and those that ask for a
  // button of their own.
  std::vector<HWND> TaskBarWindows() const {
    std::vector<HWND> found;
    for (HWND window : TopLevelWindowsOfProcess(ProcessId_)) {
      const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
      const bool unowned = GetWindow(window, GW_OWNER) == nullptr;
      if ((exStyle & WS_EX_APPWINDOW) != 0 || (unowned && (exStyle & WS_EX_TOOLWINDOW) == 0))
        found.push_back(window);
    }
    return found;
  }

  void Kill() {
    if (Process_ == nullptr) return;
    if (WaitForSingleObject(Process_, 0) == WAIT_TIMEOUT) {
      TerminateProcess(Process_, 1);
      WaitForSingleObject(Process_, 5000);
    }
    CloseHandle(Process_);
    Process_ = nullptr;
  }

 private:
  struct TSearch {
    DWORD Process;
    const wchar_t* Class;
    const wchar_t* Caption;
    HWND Found;
  };

  static BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->Process) return TRUE;
    wchar_t text[256] = {};
    GetClassNameW(window, text, 256);
    if (std::wstring(text) != search->Class) return TRUE;
    if (search->Caption != nullptr) {
      GetWindowTextW(window, text, 256);
      if (std::wstring(text) != search->Caption) return TRUE;
    }
    search->Found = window;
    return FALSE;
  }

  fs::path Dir_;
  HANDLE Process_ = nullptr;
  DWORD ProcessId_ = 0;
};

}  // namespace e2e
