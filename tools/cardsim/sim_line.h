// The serial line cardsim writes to: a raw 19200 8N1 tty on Linux, a COM port on Windows.
#pragma once

#include <memory>
#include <span>
#include <string>

namespace cardsim {

class TSimLine {
 public:
  // None, with a reason in error, when the port does not open.
  static std::unique_ptr<TSimLine> Open(const std::string& port, std::string& error);
  virtual ~TSimLine() = default;
  // Every byte is on its way out when this returns true.
  virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace cardsim
