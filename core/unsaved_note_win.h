// A word left for the next start: the settings could not be saved at the end of the session,
// and why. The settings file's own folder is the one that refused, so the note is kept in the
// user's local application data, one for each settings file.
#pragma once

#include <optional>
#include <string>

// Best effort: nothing is said if even this cannot be written.
void LeaveUnsavedNote(const std::wstring& settingsFile, const std::wstring& reason);
// The reason left for this settings file, once: the note goes as it is read.
std::optional<std::wstring> TakeUnsavedNote(const std::wstring& settingsFile);
