#pragma once

#include <string>

// The running executable's full path, and its directory with the trailing '/'.
std::string ProgramPath();
std::wstring ProgramDirectory();
