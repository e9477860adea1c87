// The real Lintavo.exe for an end-to-end test: copied with its companions into a folder of
// its own (with or without a settings file), started, found, and always ended and removed
// with the object, whatever the test's assertions did.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/test_paths.h"
#include "tests/support/text_file.h"
#include "tests/support/thread_facts.h"
#include "tests/support/top_level_windows.h"
#include "tests/support/wait.h"
#include "tests/support/window_classes.h"
#include "tests/support/window_text.h"

namespace e2e {

namespace fs = std::filesystem;

// The main window's labels in creation order: the two captions, then the reader type and
// the port state.
inline std::vector<std::wstring> MainWindowLabelTexts(HWND main) {
  std::vector<std::wstring> texts;
  for (HWND label : ChildrenOfClass(main, L"Static")) texts.push_back(WindowText(label));
  return texts;
}

// A fence in the program's GUI queue: a harmless change posted to a window of that thread
// (the text limit of the main window's read-only notice line) and read back. The thread takes
// what was posted to its windows in order, so once the change shows, whatever was posted
// before it has been handled. A send is no such fence: the thread handles sends also while it
// waits on another program (the shell, when it adds its icon).
inline bool PostedBeforeHandled(HWND main) {
  const std::vector<HWND> lines = ChildrenOfClass(main, L"Edit");
  if (lines.size() != 1) return false;
  static WPARAM fence = 40'000;
  ++fence;
  if (!PostMessageW(lines.front(), EM_SETLIMITTEXT, fence, 0)) return false;
  return WaitUntil(
      [&] {
        DWORD_PTR limit = 0;
        SendMessageTimeoutW(lines.front(), EM_GETLIMITTEXT, 0, 0, SMTO_BLOCK, 5000, &limit);
        return limit == fence;
      },
      5000);
}

// Waits until the program has handled its main window's first activation, the last time it
// takes the front by itself: the window is in front, or, when it minimises itself at start
// (as without a settings file), it is minimised and the front has gone to another program's
// window; with the port open its reader runs. Only then does a window another program brings
// to the front stay there, and a card presented reach the reader.
inline bool WaitForStartUp(DWORD processId, bool minimises, DWORD timeoutMs) {
  const HWND main = WaitForWindow(
      [&] { return FindTopLevel(processId, window_class::kMainForm); }, timeoutMs);
  const auto activated = [&] {
    const HWND front = GetForegroundWindow();
    if (!minimises) return front == main;
    const HWND application = FindTopLevel(processId, window_class::kApplication);
    DWORD frontProcess = 0;
    GetWindowThreadProcessId(front, &frontProcess);
    return application != nullptr && IsIconic(application) && !IsWindowVisible(main) &&
           front != nullptr && frontProcess != processId;
  };
  // The port opens on a worker and shows as not open until it answers: an open port has its
  // reader, one that is not open is the answer once the worker has gone and the window has
  // taken what it posted.
  const auto portSettled = [&] {
    const auto texts = MainWindowLabelTexts(main);
    if (texts.size() != 4 || texts[3].empty()) return false;
    if (texts[3].ends_with(L"Порт открыт")) return ThreadCount(processId) >= 2;
    if (ThreadCount(processId) != 1 || !PostedBeforeHandled(main)) return false;
    const auto now = MainWindowLabelTexts(main);
    return now.size() == 4 && !now[3].ends_with(L"Порт открыт");
  };
  return main != nullptr && WaitUntil([&] { return activated() && portSettled(); }, timeoutMs);
}

class TLintavoInstance {
 public:
  // The folder is named with Cyrillic letters so that paths beyond the ANSI code page are
  // exercised too.
  explicit TLintavoInstance(const std::wstring& name) : Dir_(L"Линтаво " + name) {
    fs::copy(ProductDir(), Dir(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }

  const fs::path& Dir() const { return Dir_.Path(); }
  fs::path IniPath() const { return Dir() / L"Lintavo.ini"; }

  void WriteIni(const std::string& text) const { WriteWholeFile(IniPath(), text); }
  std::string ReadIni() const { return ReadWholeFile(IniPath()); }
  void RemoveFile(const std::wstring& name) const { fs::remove(Dir() / name); }

  // Starts the program; the working directory is the given one, or the program's own.
  bool Start(const fs::path& workingDir = {}) {
    Process_.emplace(L"\"" + (Dir() / L"Lintavo.exe").wstring() + L"\"",
                     (workingDir.empty() ? Dir() : workingDir).wstring());
    return Process_->Started();
  }
  void Kill() { Process_.reset(); }

  DWORD ProcessId() const { return Process_ ? Process_->ProcessId() : 0; }
  bool Running() const { return Process_ && Process_->Running(); }
  // The exit code, or STILL_ACTIVE when the program did not end in time.
  DWORD WaitForExit(DWORD timeoutMs) const {
    return Process_ ? Process_->Wait(timeoutMs) : STILL_ACTIVE;
  }

  // The first top-level window of this program with the class (and the caption).
  HWND FindTopLevel(const wchar_t* className, const wchar_t* caption = nullptr) const {
    return ::FindTopLevel(ProcessId(), className, caption);
  }
  HWND WaitForTopLevel(const wchar_t* className, const wchar_t* caption = nullptr,
                       DWORD timeoutMs = 10'000) const {
    return WaitForWindow([&] { return FindTopLevel(className, caption); }, timeoutMs);
  }
  HWND MainWindow(DWORD timeoutMs = 10'000) const {
    return WaitForTopLevel(window_class::kMainForm, nullptr, timeoutMs);
  }

  // Waits until the program has handled its main window's first activation
  // (e2e::WaitForStartUp), its settings telling whether it minimises itself at start.
  bool WaitForStartUp(DWORD timeoutMs) const {
    const bool minimises = GetPrivateProfileIntW(L"SETTINGS", L"MinimizeOnRun", 1,
                                                 IniPath().wstring().c_str()) != 0;
    return e2e::WaitForStartUp(ProcessId(), minimises, timeoutMs);
  }

  // The main window's labels in creation order: the two captions, then the reader type and
  // the port state.
  std::vector<HWND> Labels() const { return ChildrenOfClass(MainWindow(0), L"Static"); }
  std::vector<std::wstring> LabelTexts() const { return MainWindowLabelTexts(MainWindow(0)); }
  bool WaitForPortLabel(const std::wstring& text, DWORD timeoutMs) const {
    return WaitUntil(
        [&] {
          const auto texts = LabelTexts();
          return texts.size() == 4 && texts[3] == text;
        },
        timeoutMs);
  }

  // The windows the task bar and Alt+Tab show for the program: its visible top-level
  // windows that no window owns and that are not tool windows, and those that ask for a
  // button of their own.
  std::vector<HWND> TaskBarWindows() const {
    std::vector<HWND> found;
    for (HWND window : TopLevelWindowsOfProcess(ProcessId())) {
      const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
      const bool unowned = GetWindow(window, GW_OWNER) == nullptr;
      if ((exStyle & WS_EX_APPWINDOW) != 0 || (unowned && (exStyle & WS_EX_TOOLWINDOW) == 0))
        found.push_back(window);
    }
    return found;
  }

 private:
  TScratchDir Dir_;
  std::optional<TChildProcess> Process_;  // ends before the folder goes
};

}  // namespace e2e
