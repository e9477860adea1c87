// The one owner of every handle the program makes, on every platform: a kernel object, a
// window, a menu, a GDI object, an icon, a library, a drawing surface, a file descriptor.
// The policy says what "no handle" is and how to let one go; the owner does the rest the
// same way for all of them. Each platform's policies live beside its own layers.
#pragma once

#include <utility>

// A policy gives Handle, Valid(handle) and Close(handle) (false when the platform refused to
// let go); one whose "no handle" is not the value-initialised one names it as kEmpty.
template <typename Policy>
class TUnique {
 public:
  using Handle = typename Policy::Handle;

  TUnique() = default;
  explicit TUnique(Handle handle, Policy policy = {})
      : Handle_(handle), Policy_(std::move(policy)) {}
  TUnique(const TUnique&) = delete;
  TUnique& operator=(const TUnique&) = delete;
  TUnique(TUnique&& other) noexcept
      : Handle_(other.Release()), Policy_(std::move(other.Policy_)) {}
  TUnique& operator=(TUnique&& other) noexcept {
    if (this != &other) {
      Reset();
      Policy_ = std::move(other.Policy_);
      Handle_ = other.Release();
    }
    return *this;
  }
  ~TUnique() { Reset(); }

  Handle Get() const { return Handle_; }
  bool Valid() const { return Policy::Valid(Handle_); }
  explicit operator bool() const { return Valid(); }
  // Gives the handle up without letting it go.
  Handle Release() { return std::exchange(Handle_, Empty()); }
  // Lets the held handle go and takes another; false when the platform refused to let go.
  // While it is let go the owner still names it: a window's own handlers run then.
  bool Reset(Handle handle = Empty()) {
    const bool closed = !Policy::Valid(Handle_) || Policy_.Close(Handle_);
    Handle_ = handle;
    return closed;
  }

 private:
  static constexpr Handle Empty() {
    if constexpr (requires { Policy::kEmpty; })
      return Policy::kEmpty;
    else
      return Handle{};
  }

  Handle Handle_ = Empty();
  [[no_unique_address]] Policy Policy_{};
};

// Handles that are pointers and empty when null.
template <typename T>
struct TNullIsEmpty {
  using Handle = T;
  static bool Valid(T handle) { return handle != nullptr; }
};
