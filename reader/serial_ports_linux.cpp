#include "reader/serial_ports_linux.h"

#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>

#include "reader/uart_linux.h"

namespace fs = std::filesystem;

namespace {

// The 8250 driver makes ttyS0..ttyS31 whether or not a UART answers; one that does not
// reports the type PORT_UNKNOWN. The open does not wait for a carrier (O_NONBLOCK).
bool HasPortBehind(const std::string& path, int fd) {
  if (!path.starts_with("/dev/ttyS")) return true;
  serial_struct info{};
  return ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
}

std::map<std::string, std::string> StableNames() {
  std::map<std::string, std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/dev/serial/by-id", error)) {
    const fs::path target = fs::canonical(entry.path(), error);
    if (!error) names.emplace(target.string(), entry.path().string());
  }
  return names;
}

struct TLook {
  bool Listed = false;
  bool Busy = false;
};

TLook LookAt(const std::string& path) {
  const TUniqueFd fd = OpenSerialDevice(path);
  if (!fd.Valid()) return {errno == EBUSY || errno == EACCES, true};
  return {HasPortBehind(path, fd.Get()), false};
}

}  // namespace

std::vector<TSerialDevice> ListSerialDevices(const std::string& skip) {
  std::vector<std::string> paths;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/dev", error)) {
    if (IsListedSerialName(entry.path().filename().string()))
      paths.push_back(entry.path().string());
  }
  std::ranges::sort(paths);
  const auto stable = StableNames();
  std::vector<TSerialDevice> devices;
  for (const std::string& path : paths) {
    if (path == skip) continue;
    const TLook look = LookAt(path);
    if (!look.Listed) continue;
    const auto name = stable.find(path);
    devices.push_back({path, name != stable.end() ? name->second : std::string(), look.Busy});
  }
  return devices;
}

std::string ResolvedDevicePath(const std::string& stored) {
  if (stored.empty()) return {};
  std::error_code error;
  const fs::path target = fs::canonical(stored, error);
  return error ? std::string() : target.string();
}
