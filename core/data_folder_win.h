// The program's folder in the user's local application data (%LOCALAPPDATA%\Lintavo): what it
// keeps for the user beside the settings file, which may stand where the user cannot write.
#pragma once

#include <optional>
#include <string>

// The folder, not made here; none when the system will not say where local data goes.
std::optional<std::wstring> LocalDataFolder();
