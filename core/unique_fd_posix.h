// The owner of a file descriptor on POSIX systems, shaped like TUnique of the Windows
// layers: -1 is "none", and the descriptor is closed when the owner lets it go.
#pragma once

#include <unistd.h>

#include <utility>

class TUniqueFd {
 public:
  TUniqueFd() = default;
  explicit TUniqueFd(int fd) : Fd_(fd) {}
  TUniqueFd(const TUniqueFd&) = delete;
  TUniqueFd& operator=(const TUniqueFd&) = delete;
  TUniqueFd(TUniqueFd&& other) noexcept : Fd_(other.Release()) {}
  TUniqueFd& operator=(TUniqueFd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~TUniqueFd() { Reset(); }

  int Get() const { return Fd_; }
  bool Valid() const { return Fd_ >= 0; }
  // Gives the descriptor up without closing it.
  int Release() { return std::exchange(Fd_, -1); }
  // Closes the held descriptor and takes another; false when closing reported a failure
  // (the descriptor is gone all the same).
  bool Reset(int fd = -1) {
    const bool closed = Fd_ < 0 || close(Fd_) == 0;
    Fd_ = fd;
    return closed;
  }

 private:
  int Fd_ = -1;
};
