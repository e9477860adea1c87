// Where the journal's daily files are kept: a folder of the user's own data, never the
// program's folder, which the user may not be able to write.
#pragma once

#include <filesystem>

// Empty when the system will not say where the user's data goes.
std::filesystem::path JournalFolder();
