#include "reader/line_watch_linux.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/unique_fd_posix.h"

namespace {
// Above every LineError, so that an errno the watch does not know is counted, not acted on.
constexpr std::uint32_t kOtherError = 0x10000;
}  // namespace

std::uint32_t LineErrorOfErrno(int error) {
  switch (error) {
    case 0:
      return LineError::None;
    case ENOENT:
      return LineError::FileNotFound;
    case ENODEV:
    case ENXIO:
      return LineError::DevNotExist;
    case EIO:
      return LineError::GenFailure;
    case EBADF:
      return LineError::InvalidHandle;
    case EBUSY:
      return LineError::SharingViolation;
    case EACCES:
    case EPERM:
      return LineError::AccessDenied;
    default:
      return kOtherError + static_cast<std::uint32_t>(error);
  }
}

TPresence ProbeHeldPort(const std::string& device) {
  const TUniqueFd fd(open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  return PresenceAfterOpen(fd.Valid(), fd.Valid() ? 0 : LineErrorOfErrno(errno));
}
