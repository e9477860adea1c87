#include "tests/linux/lintavo_run.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "tests/linux/screen_look.h"

namespace fs = std::filesystem;

TVirtualReader::TVirtualReader(const std::string& folder)
    : Device_(folder + "/reader"), FarEnd_(folder + "/reader-far") {
  BringBack();
}

void TVirtualReader::TakeAway() {
  Socat_.Stop();
  if (!WaitUntil([this] { return !fs::exists(Device_); }, 5s))
    throw std::runtime_error("socat left " + Device_);
}

void TVirtualReader::BringBack() {
  Socat_ = TChild({"socat", "pty,raw,echo=0,link=" + Device_, "pty,raw,echo=0,link=" + FarEnd_});
  if (!WaitUntil([this] { return fs::exists(Device_) && fs::exists(FarEnd_); }, 5s))
    throw std::runtime_error("socat made no pseudo-terminal");
  if (geteuid() != 0) return;
  const group* dialout = getgrnam("dialout");
  const std::string device = fs::canonical(Device_).string();
  if (dialout == nullptr || chown(device.c_str(), 0, dialout->gr_gid) != 0 ||
      chmod(device.c_str(), 0660) != 0)
    throw std::runtime_error("cannot give " + device + " to the group dialout");
}

void TVirtualReader::Present(const std::vector<std::uint8_t>& frame) {
  const int fd = open(FarEnd_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open " + FarEnd_);
  const bool written = write(fd, frame.data(), frame.size()) == static_cast<ssize_t>(frame.size());
  close(fd);
  if (!written) throw std::runtime_error("cannot write the frame");
}

std::vector<std::uint8_t> Card40(std::uint64_t number) {
  std::vector<std::uint8_t> frame;
  for (int shift = 32; shift >= 0; shift -= 8)
    frame.push_back(static_cast<std::uint8_t>(number >> shift));
  return frame;
}

std::vector<std::uint8_t> Card26(std::uint32_t number) { return Card40(number & 0xFFFFFF); }

// $LINTAVO_PROGRAM runs another build instead, for a benchmark's before and after.
std::string TLintavo::Program() {
  const char* other = std::getenv("LINTAVO_PROGRAM");
  return other != nullptr ? other : LINTAVO_LINUX_PROGRAM;
}

std::optional<TUser> ProgramUser(const char* name) {
  if (geteuid() != 0) return std::nullopt;
  auto user = UserNamed(name);
  if (!user)
    throw std::runtime_error(std::string("no user ") + name + ": run tests/linux/test_users.sh");
  return user;
}

TLintavo::TLintavo(const TScratch& scratch, const std::string& ini,
                   const std::map<std::string, std::string>& env, const std::optional<TUser>& user)
    : Env_(env), User_(user) {
  const fs::path config = fs::path(scratch.Path()) / "config";
  fs::create_directories(config / "lintavo");
  std::ofstream(config / "lintavo" / "Lintavo.ini") << ini;
  if (User_) {
    for (const fs::path& path : {fs::path(scratch.Path()), config, config / "lintavo",
                                 config / "lintavo" / "Lintavo.ini"}) {
      if (chown(path.c_str(), User_->Uid, User_->Gid) != 0)
        throw std::runtime_error("cannot give " + path.string() + " to " + User_->Name);
    }
    Env_["HOME"] = scratch.Path();
  }
  Env_["XDG_CONFIG_HOME"] = config.string();
  Env_["XDG_RUNTIME_DIR"] = scratch.Path();
  Process_ = TChild({Program()}, Env_, User_);
}

TChild TLintavo::StartAnother() const { return TChild({Program()}, Env_, User_); }

bool TLintavo::WaitReading(Display* display) {
  return WaitUntil(
      [&] { return MainWindow(display).has_value() && HasThreadNamed(Pid(), "lintavo-reader"); },
      10s);
}

std::optional<Window> TLintavo::MainWindow(Display* display) const {
  return FindWindow(display, Process_.Pid(), kMainTitle);
}
