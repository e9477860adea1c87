// The POSIX policy of the one handle owner: a file descriptor, -1 being none.
#pragma once

#include <unistd.h>

#include "core/unique.h"

struct TFdPolicy {
  using Handle = int;
  static constexpr int kEmpty = -1;
  static bool Valid(int fd) { return fd >= 0; }
  // The descriptor is gone even when close() reports a failure.
  bool Close(int fd) const { return close(fd) == 0; }
};

using TUniqueFd = TUnique<TFdPolicy>;
