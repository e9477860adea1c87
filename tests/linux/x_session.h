// What the Linux end-to-end tests run the program in: a private Xvfb and the children they
// start, every one stopped by its own process id.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace std::chrono_literals;

// A user of the system as the system's database has it.
struct TUser {
  std::string Name;
  uid_t Uid = 0;
  gid_t Gid = 0;
  std::vector<gid_t> Groups;
};
std::optional<TUser> UserNamed(const std::string& name);

// A child process; killed and reaped when the owner goes.
class TChild {
 public:
  TChild() = default;
  // Runs `argv` with these variables added to the environment, as `user` when one is given.
  TChild(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env = {},
         const std::optional<TUser>& user = std::nullopt);
  ~TChild() { Stop(); }
  TChild(TChild&& other) noexcept : Pid_(other.Pid_) { other.Pid_ = -1; }
  TChild& operator=(TChild&& other) noexcept;
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;

  pid_t Pid() const { return Pid_; }
  bool Running() const;
  void Stop();
  // The exit code once it ended by itself within the time given, -1 otherwise.
  int WaitExit(std::chrono::milliseconds limit);

 private:
  pid_t Pid_ = -1;
};

// Waits until `done` holds or the time runs out; says whether it held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

// A private X display for this test program, with DISPLAY set to it, and a tray host
// (trayer from Debian's archive) along its bottom edge.
class TXSession {
 public:
  TXSession();
  ~TXSession();
  const std::string& Display() const { return Display_; }
  void SetLayout(const std::string& layouts);
  // Ends the tray host, as a panel that goes away.
  void StopTray() { Tray_.Stop(); }

 private:
  TChild Xvfb_;
  TChild Tray_;
  std::string Display_;
};

// A fresh folder under the build's test scratch, removed when the owner goes.
class TScratch {
 public:
  TScratch();
  ~TScratch();
  const std::string& Path() const { return Path_; }

 private:
  std::string Path_;
};

// Whether a thread of the process has this name.
bool HasThreadNamed(pid_t pid, const std::string& name);
