#include "tests/linux/ibus_target.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/linux/screen_look.h"

namespace fs = std::filesystem;

TIBusTarget::TIBusTarget(const std::string& folder) : File_(folder + "/ibus-typed") {
  Display_ = XOpenDisplay(nullptr);
  if (Display_ == nullptr) throw std::runtime_error("no X display");
  const std::string socket = folder + "/ibus";
  const std::string address = "unix:path=" + socket;
  // Its address and cache in the scratch folder, not in the user's home.
  const std::map<std::string, std::string> home{
      {"HOME", folder}, {"XDG_CACHE_HOME", folder}, {"XDG_CONFIG_HOME", folder}};
  Daemon_ = TChild({"ibus-daemon", "--single", "--panel=disable", "--emoji-extension=disable",
                    "--address=" + address},
                   home);
  if (!WaitUntil([&] { return fs::exists(socket); }, 10s))
    throw std::runtime_error("ibus-daemon did not start");
  auto fieldEnv = home;
  fieldEnv.insert({{"IBUS_ADDRESS", address}, {"QT_IM_MODULE", "ibus"}});
  Field_ = TChild({LINTAVO_IBUS_FIELD, File_}, fieldEnv);
  if (!WaitUntil(
          [&] {
            const auto found = FindWindow(Display_, Field_.Pid(), "lintavo-ibus-field");
            Window_ = found.value_or(0);
            return found && WindowShown(Display_, *found);
          },
          10s))
    throw std::runtime_error("the IBus text field did not come up");
}

TIBusTarget::~TIBusTarget() {
  Field_.Stop();
  Daemon_.Stop();
  XCloseDisplay(Display_);
}

void TIBusTarget::Focus() {
  XRaiseWindow(Display_, Window_);
  XSetInputFocus(Display_, Window_, RevertToParent, CurrentTime);
  XSync(Display_, False);
}

std::string TIBusTarget::Arrived() const {
  std::ifstream in(File_, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  text.erase(0, std::min(Read_, text.size()));
  return text;
}

std::string TIBusTarget::TextUntil(const std::string& tail, std::chrono::milliseconds limit) {
  std::string text;
  WaitUntil(
      [&] {
        text = Arrived();
        return text.ends_with(tail);
      },
      limit);
  Read_ += text.size();
  return text;
}
