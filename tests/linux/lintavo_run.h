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
// it away ends socat, which removes both links, as a pulled adapter takes its device. Under
// a root test the device is root's and the group dialout's, as a serial port is.
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

// The ordinary users the program runs as when the tests run as root (made by
// tests/linux/test_users.sh): one in the group dialout, one outside it.
inline constexpr char kOperatorUser[] = "lintavo-op";
inline constexpr char kGuestUser[] = "lintavo-guest";

// Who runs the program: the operator user under a root test, the test's own user otherwise.
std::optional<TUser> ProgramUser(const char* name = kOperatorUser);

class TLintavo {
 public:
  // `ini` is the text of Lintavo.ini; `env` adds to the program's environment. The scratch
  // folder becomes the user's, as a home and a runtime folder are.
  TLintavo(const TScratch& scratch, const std::string& ini,
           const std::map<std::string, std::string>& env = {},
           const std::optional<TUser>& user = ProgramUser());
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
  std::optional<TUser> User_;
  TChild Process_;
};

inline constexpr char kMainTitle[] = "Драйвер контрольного считывателя";
