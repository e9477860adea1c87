// The program under test: its settings written to a private configuration folder, its
// reader a pseudo-terminal made by socat, and the program itself started from the build.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/linux/x_session.h"

// A pseudo-terminal pair: the program opens `Device`, the test writes to the far end. Taking
// it away ends socat, which removes both links, as a pulled adapter takes its device.
class TVirtualReader {
 public:
  explicit TVirtualReader(const std::string& folder);
  const std::string& Device() const { return Device_; }
  void TakeAway();
  void BringBack();
  // Writes the bytes in one piece, as the reader sends a frame.
  void Present(const std::vector<std::uint8_t>& frame);

 private:
  std::string Device_;
  std::string FarEnd_;
  TChild Socat_;
};

std::vector<std::uint8_t> Card40(std::uint64_t number);
std::vector<std::uint8_t> Card26(std::uint32_t number);

class TLintavo {
 public:
  // `ini` is the text of Lintavo.ini; `env` adds to the program's environment.
  TLintavo(const TScratch& scratch, const std::string& ini,
           const std::map<std::string, std::string>& env = {});
  // Starts another copy with the same settings.
  TChild StartAnother() const;
  TChild& Process() { return Process_; }
  pid_t Pid() const { return Process_.Pid(); }
  // Waits until the main window exists and the reader runs.
  bool WaitReading(Display* display);
  std::optional<Window> MainWindow(Display* display) const;

  static std::string Program();

 private:
  std::map<std::string, std::string> Env_;
  TChild Process_;
};

inline constexpr char kMainTitle[] = "Драйвер контрольного считывателя";
