#include "tests/win/tray_demo_process.h"

#include <cstdio>
#include <sstream>

#include "ui/tray/tray_icon.h"
#include "ui/tray/tray_icon_win.h"

namespace {

std::wstring DemoPath() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring text = path;
  return text.substr(0, text.find_last_of(L"\\/") + 1) + L"tray_demo.exe";
}

std::wstring NewLogPath() {
  wchar_t directory[MAX_PATH];
  wchar_t file[MAX_PATH];
  GetTempPathW(MAX_PATH, directory);
  GetTempFileNameW(directory, L"try", 0, file);
  return file;
}

struct TSearch {
  DWORD Process;
  const wchar_t* ClassName;
  const wchar_t* Caption;
  HWND Found = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<TSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[64]{};
  wchar_t caption[128]{};
  GetClassNameW(window, className, 64);
  GetWindowTextW(window, caption, 128);
  if (process == search.Process && std::wstring(className) == search.ClassName &&
      (search.Caption == nullptr || std::wstring(caption) == search.Caption)) {
    search.Found = window;
    return FALSE;
  }
  return TRUE;
}

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

}  // namespace

TTrayDemoProcess::TTrayDemoProcess(const std::wstring& options) : LogPath_(NewLogPath()) {
  std::wstring command = L"\"" + DemoPath() + L"\" \"" + LogPath_ + L"\" " + options;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &Process_))
    return;
  for (int waited = 0; waited < 10000 && IconWindow_ == nullptr; waited += 20) {
    if (WaitForLine(L"state green", 0, 0) || WaitForLine(L"state red", 0, 0))
      IconWindow_ = Window(kTrayIconWindowClass);
    if (IconWindow_ == nullptr) Sleep(20);
  }
}

TTrayDemoProcess::~TTrayDemoProcess() {
  if (Process_.hProcess != nullptr) {
    if (WaitForSingleObject(Process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(Process_.hProcess, 1);
      WaitForSingleObject(Process_.hProcess, 5000);
    }
    CloseHandle(Process_.hProcess);
    CloseHandle(Process_.hThread);
  }
  DeleteFileW(LogPath_.c_str());
}

HWND TTrayDemoProcess::Window(const wchar_t* className, const wchar_t* caption) const {
  TSearch search{Process_.dwProcessId, className, caption};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

bool TTrayDemoProcess::Exited(int milliseconds) const {
  return WaitForSingleObject(Process_.hProcess, static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

void TTrayDemoProcess::PostMouse(unsigned mouseMessage) const {
  PostMessageW(IconWindow_, kTrayIconMessage, kTrayIconId, mouseMessage);
}

std::vector<std::wstring> TTrayDemoProcess::Log() const {
  std::string text;
  if (FILE* file = _wfopen(LogPath_.c_str(), L"rb")) {
    char buffer[4096];
    for (std::size_t read; (read = fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, read);
    fclose(file);
  }
  std::vector<std::wstring> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(WideFromUtf8(line));
  return lines;
}

bool TTrayDemoProcess::WaitForLine(const std::wstring& line, std::size_t from,
                                   int milliseconds) const {
  for (int waited = 0;; waited += 20) {
    const auto lines = Log();
    for (std::size_t i = from; i < lines.size(); ++i)
      if (lines[i] == line) return true;
    if (waited >= milliseconds) return false;
    Sleep(20);
  }
}
