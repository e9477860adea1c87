// Owns a kernel handle (a device, a thread, a section) and closes it.
#pragma once

#include <windows.h>

#include <utility>

class TUniqueHandle {
 public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(HANDLE handle) : Handle_(handle) {}
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& other) noexcept : Handle_(other.Release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~TUniqueHandle() { Reset(); }

  HANDLE Get() const { return Handle_; }
  // Both values the platform uses for "no handle" count as empty.
  bool Valid() const { return Handle_ != nullptr && Handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Release() { return std::exchange(Handle_, nullptr); }
  // Closes the held handle; false when the platform refused.
  bool Reset(HANDLE handle = nullptr) {
    const HANDLE old = std::exchange(Handle_, handle);
    if (old == nullptr || old == INVALID_HANDLE_VALUE) return true;
    return CloseHandle(old) != FALSE;
  }

 private:
  HANDLE Handle_ = nullptr;
};
