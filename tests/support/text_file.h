// A whole file as bytes, for settings files written and read back as they stand on disk.
#pragma once

#include <filesystem>
#include <string>

// The file's bytes, or an empty string when there is no such file.
std::string ReadWholeFile(const std::filesystem::path& file);
void WriteWholeFile(const std::filesystem::path& file, const std::string& bytes);
