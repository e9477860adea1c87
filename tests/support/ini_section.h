// The keys of one section of a settings file's text, in the order the file holds them.
#pragma once

#include <string>
#include <utility>
#include <vector>

using TIniEntries = std::vector<std::pair<std::string, std::string>>;

TIniEntries IniSectionEntries(const std::string& text, const std::string& section);
std::vector<std::string> IniSectionKeys(const std::string& text, const std::string& section);
