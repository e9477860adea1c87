#pragma once

#include <string>

// The directory of the running executable, with its trailing separator.
std::wstring ProgramDirectory();
