#include "core/autostart_linux.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/settings_file_linux.h"

namespace {

std::string AutostartDirectory() { return XdgConfigHome() + "/autostart/"; }
std::string EntryPath() { return AutostartDirectory() + "lintavo.desktop"; }

// An installed program is started by its name, which outlives an upgrade; one run from
// elsewhere (a build) by its full path.
std::string CommandOf(const std::string& program) {
  const std::size_t slash = program.rfind('/');
  const std::string name = program.substr(slash + 1);
  const char* path = std::getenv("PATH");
  std::stringstream folders(path != nullptr ? path : "");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (!folder.empty() && folder + "/" + name == program) return name;
  }
  return "\"" + program + "\"";
}

// The desktop switches an entry off by these keys, without removing it.
bool SwitchedOff(const std::string& line) {
  return line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false";
}

std::string EntryText(const std::string& program) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Драйвер контрольного считывателя\n"
         "Comment=Вводит номера карт с контрольного считывателя\n"
         "Exec=" +
         CommandOf(program) +
         "\n"
         "Icon=lintavo\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

}  // namespace

bool AutostartEnabled() {
  std::ifstream entry(EntryPath());
  if (!entry) return false;
  std::string line;
  while (std::getline(entry, line)) {
    if (SwitchedOff(line)) return false;
  }
  return true;
}

bool SetAutostart(bool enabled, const std::string& program) {
  if (!enabled) return unlink(EntryPath().c_str()) == 0 || access(EntryPath().c_str(), F_OK) != 0;
  mkdir(XdgConfigHome().c_str(), 0700);
  mkdir(AutostartDirectory().c_str(), 0755);
  std::ofstream entry(EntryPath(), std::ios::trunc);
  entry << EntryText(program);
  entry.close();
  return static_cast<bool>(entry);
}
