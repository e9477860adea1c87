// Where a test finds the build's other outputs: the folders sit side by side in the build
// directory (tests/, bin/, tools/).
#pragma once

#include <filesystem>

// The running test program's folder.
std::filesystem::path TestProgramDir();

// The product's folder of the same build: Lintavo.exe, about.dll, qvm_help.dll, DOC\.
std::filesystem::path ProductDir();
