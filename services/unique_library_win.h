// Owns a loaded library and unloads it.
#pragma once

#include <windows.h>

#include <utility>

class TUniqueLibrary {
 public:
  TUniqueLibrary() = default;
  explicit TUniqueLibrary(HMODULE module) : Module_(module) {}
  TUniqueLibrary(const TUniqueLibrary&) = delete;
  TUniqueLibrary& operator=(const TUniqueLibrary&) = delete;
  TUniqueLibrary(TUniqueLibrary&& other) noexcept
      : Module_(std::exchange(other.Module_, nullptr)) {}
  TUniqueLibrary& operator=(TUniqueLibrary&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.Module_, nullptr));
    return *this;
  }
  ~TUniqueLibrary() { Reset(); }

  HMODULE Get() const { return Module_; }
  explicit operator bool() const { return Module_ != nullptr; }
  void Reset(HMODULE module = nullptr) {
    if (Module_ != nullptr) FreeLibrary(Module_);
    Module_ = module;
  }
  // The export's address as a function of type F, or null.
  template <typename F>
  F Export(const char* name) const {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(Module_, name)));
  }

 private:
  HMODULE Module_ = nullptr;
};
