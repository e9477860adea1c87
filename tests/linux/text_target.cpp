#include "tests/linux/text_target.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

constexpr char kTitle[] = "lintavo-text-target";

std::string NameOf(Display* display, Window window) {
  char* name = nullptr;
  std::string text;
  if (XFetchName(display, window, &name) && name != nullptr) {
    text = name;
    XFree(name);
  }
  return text;
}

Window FindTitled(Display* display, const std::string& title) {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && found == 0; ++i) {
      if (NameOf(display, children[i]) == title) found = children[i];
    }
    if (children != nullptr) XFree(children);
  }
  return found;
}

}  // namespace

TTextTarget::TTextTarget(const std::string& folder)
    : TTextTarget(folder + "/typed", {},
                  // Away from the program's main window, whose pixels the tests read.
                  {"xterm", "-title", kTitle, "-geometry", "40x6+640+420", "-e", "sh", "-c",
                   "stty raw -echo; exec cat >> '" + folder + "/typed'"},
                  {}, kTitle) {}

TTextTarget TTextTarget::ThroughIBus(const std::string& folder, const std::string& field) {
  const std::string socket = folder + "/ibus";
  const std::string address = "unix:path=" + socket;
  // Its address and cache in the scratch folder, not in the user's home.
  std::map<std::string, std::string> env{
      {"HOME", folder}, {"XDG_CACHE_HOME", folder}, {"XDG_CONFIG_HOME", folder}};
  TChild daemon({"ibus-daemon", "--single", "--panel=disable", "--emoji-extension=disable",
                 "--address=" + address},
                env);
  if (!WaitUntil([&] { return fs::exists(socket); }, 10s))
    throw std::runtime_error("ibus-daemon did not start");
  env.insert({{"IBUS_ADDRESS", address}, {"QT_IM_MODULE", "ibus"}});
  const std::string file = folder + "/ibus-typed";
  return TTextTarget(file, std::move(daemon), {field, file}, env, "lintavo-ibus-field");
}

TTextTarget::TTextTarget(const std::string& file, TChild daemon,
                         const std::vector<std::string>& writer,
                         const std::map<std::string, std::string>& env, const std::string& title)
    : File_(file), Daemon_(std::move(daemon)) {
  Display_ = XOpenDisplay(nullptr);
  if (Display_ == nullptr) throw std::runtime_error("no X display");
  std::ofstream(File_).close();
  Writer_ = TChild(writer, env);
  if (!WaitUntil(
          [&] {
            Window_ = FindTitled(Display_, title);
            XWindowAttributes attributes;
            return Window_ != 0 && XGetWindowAttributes(Display_, Window_, &attributes) &&
                   attributes.map_state == IsViewable;
          },
          10s))
    throw std::runtime_error(writer.front() + " did not come up");
}

TTextTarget::~TTextTarget() {
  Writer_.Stop();
  Daemon_.Stop();
  XCloseDisplay(Display_);
}

void TTextTarget::Focus() {
  XRaiseWindow(Display_, Window_);
  XSetInputFocus(Display_, Window_, RevertToParent, CurrentTime);
  XSync(Display_, False);
}

void TTextTarget::LockGroup(int group) {
  XkbLockGroup(Display_, XkbUseCoreKbd, static_cast<unsigned>(group));
  XSync(Display_, False);
}

bool TTextTarget::WaitLayout(const std::string& script) {
  constexpr KeyCode kQKey = 24;
  return WaitUntil(
      [&] {
        XkbStateRec state{};
        XkbGetState(Display_, XkbUseCoreKbd, &state);
        XkbDescPtr keyboard = XkbGetMap(Display_, XkbKeySymsMask, XkbUseCoreKbd);
        if (keyboard == nullptr) return false;
        const KeySym symbol = XkbKeycodeToKeysym(Display_, kQKey, state.group, 0);
        XkbFreeKeyboard(keyboard, 0, True);
        const bool cyrillic = (symbol & 0xFF00) == 0x0600;
        return script == "cyrillic" ? cyrillic : symbol == XK_q;
      },
      5s);
}

std::string TTextTarget::Arrived() const {
  std::ifstream in(File_, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  text.erase(0, std::min(Read_, text.size()));
  // A raw terminal hands Enter on as a carriage return.
  std::replace(text.begin(), text.end(), '\r', '\n');
  return text;
}

std::string TTextTarget::TextUntil(const std::string& tail, std::chrono::milliseconds limit) {
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

std::optional<std::string> TTextTarget::Take(const std::string& tail) {
  std::string text = Arrived();
  if (!text.ends_with(tail)) return std::nullopt;
  Read_ += text.size();
  return text;
}

std::string TTextTarget::FocusHolder() {
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(Display_, &focus, &revert);
  if (focus == Window_) return "the text window";
  if (focus == None || focus == PointerRoot) return "no window";
  return "window " + std::to_string(focus) + " \"" + NameOf(Display_, focus) + "\"";
}
