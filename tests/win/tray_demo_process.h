// Starts the tray demo, finds its windows from outside and reads its event log; whatever
// is still running when the test ends is ended with it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TTrayDemoProcess {
 public:
  explicit TTrayDemoProcess(const std::wstring& options = L"");
  ~TTrayDemoProcess();
  TTrayDemoProcess(const TTrayDemoProcess&) = delete;
  TTrayDemoProcess& operator=(const TTrayDemoProcess&) = delete;

  bool Started() const { return Process_.hProcess != nullptr && IconWindow_ != nullptr; }
  DWORD Id() const { return Process_.dwProcessId; }
  HWND IconWindow() const { return IconWindow_; }
  // The first top-level window of the demo with this class (and caption, when given).
  HWND Window(const wchar_t* className, const wchar_t* caption = nullptr) const;
  bool Exited(int milliseconds) const;

  // Posts the shell's notification about the icon, as the shell would.
  void PostMouse(unsigned mouseMessage) const;
  std::vector<std::wstring> Log() const;
  // Waits for the line to show up in the log, counting from the given line on.
  bool WaitForLine(const std::wstring& line, std::size_t from = 0, int milliseconds = 5000) const;

 private:
  std::wstring LogPath_;
  PROCESS_INFORMATION Process_{};
  HWND IconWindow_ = nullptr;
};
