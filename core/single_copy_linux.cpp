#include "core/single_copy_linux.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
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

// The socket lives in the user's runtime folder, which no other user may enter: an abstract
// name could be taken first by any local user, who would keep the program from starting.
// One copy runs per user and X display, so that a second desktop session of the same user
// (a remote one, say) may run its own. Without a runtime folder the user's id keeps the
// abstract namespace's name apart.
socklen_t CopyAddress(sockaddr_un& address) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const char* display = std::getenv("DISPLAY");
  const std::string copy =
      std::string(kSectionName) + "." + (display != nullptr ? display : "");
  const std::string name = runtime != nullptr && runtime[0] == '/'
                               ? std::string(runtime) + "/lintavo." + copy
                               : std::string(1, '\0') + copy + "." + std::to_string(getuid());
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  const std::size_t size = std::min(name.size(), sizeof address.sun_path - 1);
  std::memcpy(address.sun_path, name.data(), size);
  // A file name is counted with its terminating zero, an abstract one without.
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + size + (name[0] == '\0' ? 0 : 1));
}

bool Answers(const sockaddr_un& address, socklen_t length) {
  const TUniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  return fd.Valid() && connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), length) == 0;
}

}  // namespace

bool IsFirstInstance() {
  TUniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!fd.Valid()) return true;
  sockaddr_un address;
  const socklen_t length = CopyAddress(address);
  const auto* name = reinterpret_cast<const sockaddr*>(&address);
  if (bind(fd.Get(), name, length) != 0) {
    if (errno != EADDRINUSE) return true;
    // A file left by a copy that did not end cleanly answers nobody: it is taken over.
    if (address.sun_path[0] == '\0' || Answers(address, length)) return false;
    unlink(address.sun_path);
    if (bind(fd.Get(), name, length) != 0) return errno != EADDRINUSE;
  }
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
  sockaddr_un address;
  return Answers(address, CopyAddress(address));
}
