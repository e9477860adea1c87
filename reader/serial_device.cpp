#include "reader/serial_device.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::string_view kDevicePrefix = "/dev/";

std::string_view LastPart(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool IsListedSerialName(std::string_view name) {
  constexpr std::array<std::string_view, 3> kStems{"ttyUSB", "ttyACM", "ttyS"};
  for (const std::string_view stem : kStems) {
    if (!name.starts_with(stem)) continue;
    const std::string_view number = name.substr(stem.size());
    return !number.empty() && number.size() <= 4 &&
           std::ranges::all_of(number, [](char c) { return c >= '0' && c <= '9'; });
  }
  return false;
}

std::string StoredNameOf(const TSerialDevice& device) {
  return device.StableName.empty() ? device.Path : device.StableName;
}

std::string ShownPortName(std::string_view stored, std::string_view resolvedPath) {
  if (resolvedPath.starts_with(kDevicePrefix) && resolvedPath.size() > kDevicePrefix.size())
    return std::string(resolvedPath.substr(kDevicePrefix.size()));
  return std::string(LastPart(stored));
}

std::string DeviceRowName(const TSerialDevice& device) {
  std::string name = ShownPortName(device.Path, device.Path);
  if (!device.StableName.empty()) name += " (" + std::string(LastPart(device.StableName)) + ")";
  return name;
}

bool ReopenDeviceAfterSetup(std::string_view before, std::string_view after, bool portOpen) {
  return after != before || !portOpen;
}
