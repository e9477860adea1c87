#include "tests/support/ini_section.h"

#include <sstream>

TIniEntries IniSectionEntries(const std::string& text, const std::string& section) {
  TIniEntries entries;
  std::istringstream lines(text);
  bool inside = false;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inside = line == "[" + section + "]";
      continue;
    }
    const auto equals = line.find('=');
    if (inside && equals != std::string::npos)
      entries.emplace_back(line.substr(0, equals), line.substr(equals + 1));
  }
  return entries;
}

std::vector<std::string> IniSectionKeys(const std::string& text, const std::string& section) {
  std::vector<std::string> keys;
  for (const auto& entry : IniSectionEntries(text, section)) keys.push_back(entry.first);
  return keys;
}
