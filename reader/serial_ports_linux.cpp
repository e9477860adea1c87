#include "reader/serial_ports_linux.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>
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
  const fs::path byId = fs::path(folders.Devices) / "serial/by-id";
  for (const auto& entry : fs::directory_iterator(byId, error)) {
    const fs::path target = fs::canonical(entry.path(), error);
    if (!error) names.emplace(target.string(), entry.path().string());
  }
  return names;
}

bool InGroup(gid_t group) {
  if (getegid() == group) return true;
  std::vector<gid_t> groups(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
  const int count = getgroups(static_cast<int>(groups.size()), groups.data());
  return std::find(groups.begin(), groups.begin() + std::max(count, 0), group) !=
         groups.begin() + std::max(count, 0);
}

}  // namespace

bool DeniedForWantOfGroup(const std::string& path) {
  if (access(path.c_str(), R_OK | W_OK) == 0) return false;
  struct stat info{};
  if (stat(path.c_str(), &info) != 0) return false;
  constexpr mode_t kGroupUses = S_IRGRP | S_IWGRP;
  return (info.st_mode & kGroupUses) == kGroupUses && !InGroup(info.st_gid);
}

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
    const bool closed = access(path.c_str(), R_OK | W_OK) != 0;
    devices.push_back({.Path = path,
                       .StableName = stableName != stable.end() ? stableName->second : "",
                       .Busy = closed || LockedByAnother(name, folders),
                       .Denied = DeniedForWantOfGroup(path)});
  }
  return devices;
}

std::string ResolvedDevicePath(const std::string& stored) {
  if (stored.empty()) return {};
  std::error_code error;
  const fs::path target = fs::canonical(stored, error);
  return error ? std::string() : target.string();
}
