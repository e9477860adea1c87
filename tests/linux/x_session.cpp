#include "tests/linux/x_session.h"

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

std::optional<TUser> UserNamed(const std::string& name) {
  const passwd* entry = getpwnam(name.c_str());
  if (entry == nullptr) return std::nullopt;
  TUser user{name, entry->pw_uid, entry->pw_gid, {}};
  int count = 0;
  getgrouplist(name.c_str(), user.Gid, nullptr, &count);
  user.Groups.resize(static_cast<std::size_t>(count));
  getgrouplist(name.c_str(), user.Gid, user.Groups.data(), &count);
  return user;
}

TChild::TChild(const std::vector<std::string>& argv,
               const std::map<std::string, std::string>& env, const std::optional<TUser>& user) {
  Pid_ = fork();
  if (Pid_ < 0) throw std::runtime_error("fork failed");
  if (Pid_ != 0) return;
  setpgid(0, 0);
  for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
  if (user && (setgroups(user->Groups.size(), user->Groups.data()) != 0 ||
               setgid(user->Gid) != 0 || setuid(user->Uid) != 0))
    _exit(126);
  if (user) {
    setenv("USER", user->Name.c_str(), 1);
    setenv("LOGNAME", user->Name.c_str(), 1);
  }
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

TChild& TChild::operator=(TChild&& other) noexcept {
  Stop();
  Pid_ = other.Pid_;
  other.Pid_ = -1;
  return *this;
}

bool TChild::Running() const { return Pid_ > 0 && waitpid(Pid_, nullptr, WNOHANG) == 0; }

void TChild::Stop() {
  if (Pid_ <= 0) return;
  kill(Pid_, SIGTERM);
  if (WaitExit(3s) == -1 && Pid_ > 0) {
    kill(Pid_, SIGKILL);
    waitpid(Pid_, nullptr, 0);
  }
  Pid_ = -1;
}

int TChild::WaitExit(std::chrono::milliseconds limit) {
  int status = 0;
  const bool ended = WaitUntil([&] { return waitpid(Pid_, &status, WNOHANG) == Pid_; }, limit);
  if (!ended) return -1;
  Pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

TXSession::TXSession() {
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
  Xvfb_ = TChild({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24",
                  "-nolisten", "tcp"});
  close(fds[1]);
  // Xvfb writes the display's number and a newline once it accepts clients.
  std::string number;
  char c = 0;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) throw std::runtime_error("Xvfb did not start");
  Display_ = ":" + number;
  setenv("DISPLAY", Display_.c_str(), 1);
  unsetenv("WAYLAND_DISPLAY");
  setenv("XDG_SESSION_TYPE", "x11", 1);
  SetLayout("us");
  Tray_ = TChild({"trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request",
                  "--height", "24", "--transparent", "false", "--tint", "0xc0c0c0"});
}

TXSession::~TXSession() {
  Tray_.Stop();
  Xvfb_.Stop();
}

void TXSession::SetLayout(const std::string& layouts) {
  TChild setter({"setxkbmap", "-layout", layouts});
  if (setter.WaitExit(10s) != 0) throw std::runtime_error("setxkbmap " + layouts + " failed");
}

TScratch::TScratch() {
  std::string pattern = (fs::temp_directory_path() / "lintavo-linux-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  Path_ = pattern;
}

TScratch::~TScratch() {
  std::error_code ignored;
  fs::remove_all(Path_, ignored);
}

bool HasThreadNamed(pid_t pid, const std::string& name) {
  std::error_code error;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    std::ifstream comm(task.path() / "comm");
    std::string line;
    if (std::getline(comm, line) && line == name) return true;
  }
  return false;
}
