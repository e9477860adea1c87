#include "core/single_copy_linux.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/unique_fd_posix.h"

namespace {

constexpr char kSectionName[] = "QVM_TESSARIN_CTRL_READER_DRIVER";
constexpr int kWaitingCalls = 4;

int HeldSocket = -1;

// A leading zero puts the name in the abstract namespace: no file to leave behind. One copy
// runs per user and X display, so that a second desktop session of the same user (a remote
// one, say) may run its own.
socklen_t CopyAddress(sockaddr_un& address) {
  const char* display = std::getenv("DISPLAY");
  const std::string name = std::string(1, '\0') + kSectionName + "." + std::to_string(getuid()) +
                           "." + (display != nullptr ? display : "");
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, name.data(), name.size());
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
}

}  // namespace

bool IsFirstInstance() {
  TUniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!fd.Valid()) return true;
  sockaddr_un address;
  const socklen_t length = CopyAddress(address);
  if (bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), length) != 0)
    return errno != EADDRINUSE;
  listen(fd.Get(), kWaitingCalls);
  // Kept until the process ends, so the name vanishes with the last copy that holds it.
  HeldSocket = fd.Release();
  return true;
}

int FirstInstanceSocket() { return HeldSocket; }

bool TakeSecondCopyCall() {
  if (HeldSocket < 0) return false;
  const TUniqueFd call(accept4(HeldSocket, nullptr, nullptr, SOCK_CLOEXEC));
  return call.Valid();
}

bool CallFirstInstance() {
  const TUniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.Valid()) return false;
  sockaddr_un address;
  const socklen_t length = CopyAddress(address);
  return connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), length) == 0;
}
