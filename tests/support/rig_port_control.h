// Takes a pseudo-terminal COM port of the rig away and brings it back on the same links, and
// reads its line settings, through the control folder tests/rig/with-ports serves for the
// test.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/wait.h"

namespace rig {

// The control folder as Wine reaches it, or empty outside with-ports.
inline std::wstring ControlDir() {
  wchar_t value[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"LINTAVO_PORT_CONTROL", value, MAX_PATH) == 0) return {};
  std::wstring dir = value;
  if (!dir.empty() && dir[0] == L'/') dir = L"Z:" + dir;
  for (wchar_t& c : dir)
    if (c == L'/') c = L'\\';
  return dir;
}

// Sends one request and waits for the rig's answer: "down 2 ok", "up 2 ok", or a refusal
// with its reason; "<no answer>" when the rig said nothing in time.
inline std::string Request(const std::string& request, DWORD timeoutMs = 10'000) {
  const std::wstring dir = ControlDir();
  if (dir.empty()) return "<not run inside with-ports>";
  const std::wstring written = dir + L"\\request.new";
  const std::wstring requestFile = dir + L"\\request";
  const std::wstring replyFile = dir + L"\\reply";
  std::ofstream(std::filesystem::path(written), std::ios::binary) << request << "\n";
  // The rig picks the request up only once it is whole.
  if (!MoveFileExW(written.c_str(), requestFile.c_str(), MOVEFILE_REPLACE_EXISTING))
    return "<request not written>";
  if (!WaitUntil([&] { return GetFileAttributesW(replyFile.c_str()) != INVALID_FILE_ATTRIBUTES; },
                 timeoutMs))
    return "<no answer>";
  std::string reply;
  std::getline(std::ifstream(std::filesystem::path(replyFile), std::ios::binary), reply);
  DeleteFileW(replyFile.c_str());
  return reply;
}

// Ends the port's socat: the port's device is gone.
inline std::string TakeAway(int port) { return Request("down " + std::to_string(port)); }
// A new pair on the same links: the port's device is there again.
inline std::string BringBack(int port) { return Request("up " + std::to_string(port)); }

// The line settings of the port's device as the Linux side sees them (stty's words), or
// the rig's complaint.
inline std::string LineSettings(int port) {
  const std::string prefix = "line " + std::to_string(port) + " ";
  const std::string reply = Request(prefix);
  return reply.starts_with(prefix) ? reply.substr(prefix.size()) : reply;
}

inline std::string Ok(const char* verb, int port) {
  return std::string(verb) + " " + std::to_string(port) + " ok";
}

}  // namespace rig
