#include "core/autostart_linux.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "core/settings_file_linux.h"

namespace {

std::string AutostartDirectory() { return XdgConfigHome() + "/autostart/"; }
std::string EntryPath() { return AutostartDirectory() + "lintavo.desktop"; }

std::string EntryText(const std::string& program) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Драйвер контрольного считывателя\n"
         "Comment=Вводит номера карт с контрольного считывателя\n"
         "Exec=\"" +
         program +
         "\"\n"
         "Icon=lintavo\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

}  // namespace

bool AutostartEnabled() { return access(EntryPath().c_str(), F_OK) == 0; }

bool SetAutostart(bool enabled, const std::string& program) {
  if (!enabled) return unlink(EntryPath().c_str()) == 0 || !AutostartEnabled();
  mkdir(XdgConfigHome().c_str(), 0700);
  mkdir(AutostartDirectory().c_str(), 0755);
  std::ofstream entry(EntryPath(), std::ios::trunc);
  entry << EntryText(program);
  entry.close();
  return static_cast<bool>(entry);
}
