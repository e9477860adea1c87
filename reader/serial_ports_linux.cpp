#include "reader/serial_ports_linux.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

// The 8250 driver makes ttyS0..ttyS31 whether or not a UART answers; one that does not
// publishes the type PORT_UNKNOWN, 0.
bool HasPortBehind(const std::string& name, const TDeviceFolders& folders) {
  if (!name.starts_with("ttyS")) return true;
  std::ifstream type(fs::path(folders.Classes) / name / "type");
  int value = 0;
  return static_cast<bool>(type >> value) && value != 0;
}

// A terminal program (minicom, a modem dialler) announces the port it holds by a UUCP lock
// file naming its process.
bool LockedByAnother(const std::string& name, const TDeviceFolders& folders) {
  std::ifstream lock(fs::path(folders.Locks) / ("LCK.." + name));
  pid_t pid = 0;
  if (!(lock >> pid) || pid <= 0) return false;
  return kill(pid, 0) == 0 || errno == EPERM;
}

std::map<std::string, std::string> StableNames(const TDeviceFolders& folders) {
  std::map<std::string, std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(fs::path(folders.Devices) / "serial/by-id", error)) {
    const fs::path target = fs::canonical(entry.path(), error);
    if (!error) names.emplace(target.string(), entry.path().string());
  }
  return names;
}

}  // namespace

std::vector<TSerialDevice> ListSerialDevices(const std::string& skip,
                                             const TDeviceFolders& folders) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folders.Devices, error)) {
    const std::string name = entry.path().filename().string();
    if (IsListedSerialName(name) && HasPortBehind(name, folders)) names.push_back(name);
  }
  std::ranges::sort(names);
  const auto stable = StableNames(folders);
  std::vector<TSerialDevice> devices;
  for (const std::string& name : names) {
    const std::string path = (fs::path(folders.Devices) / name).string();
    if (path == skip) continue;
    const std::string resolved = ResolvedDevicePath(path);
    const auto stableName = stable.find(resolved);
    const bool denied = access(path.c_str(), R_OK | W_OK) != 0;
    devices.push_back({.Path = path,
                       .StableName = stableName != stable.end() ? stableName->second : std::string(),
                       .Busy = denied || LockedByAnother(name, folders),
                       .Denied = denied});
  }
  return devices;
}

std::string ResolvedDevicePath(const std::string& stored) {
  if (stored.empty()) return {};
  std::error_code error;
  const fs::path target = fs::canonical(stored, error);
  return error ? std::string() : target.string();
}
