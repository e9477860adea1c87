#include "core/settings.h"

#include <algorithm>

namespace {

const std::wstring kSection = L"SETTINGS";
const std::wstring kOutputSection = L"OUTPUT";
const std::wstring kJournalSection = L"JOURNAL";

// Sections "OUTPUT" and "JOURNAL" as this run last read or wrote them.
TOutputSettings OutputOnFile;
TJournalSettings JournalOnFile;

std::uint8_t LowByte(std::int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

// Unlike the bytes of "SETTINGS", an option out of range is not cut down to one: 257 is no
// more a format than 7 is.
template <typename T>
T ReadOption(const TIniFile& ini, const std::wstring& section, const wchar_t* key, T fallback,
             std::int32_t lowest, std::int32_t highest) {
  const std::int32_t value = ini.ReadInteger(section, key, static_cast<std::int32_t>(fallback));
  return value >= lowest && value <= highest ? static_cast<T>(value) : fallback;
}

}  // namespace

void LoadSettingsFrom(const TIniFile& ini, TSettings& settings) {
  settings = TSettings{};
  settings.MinimizeOnRun = ini.ReadBool(kSection, L"MinimizeOnRun", settings.MinimizeOnRun);
  settings.CheckExit = ini.ReadBool(kSection, L"CheckExit", settings.CheckExit);
  settings.RunOnlyOneCopy = ini.ReadBool(kSection, L"RunOnlyOneCopy", settings.RunOnlyOneCopy);
  const std::uint8_t type = LowByte(ini.ReadInteger(kSection, L"ReaderType", settings.ReaderType));
  settings.ReaderType = std::min<std::uint8_t>(type, 1);
  settings.PortNumber = LowByte(ini.ReadInteger(kSection, L"PortNumber", settings.PortNumber));
}

bool SaveSettingsTo(TIniFile& ini, const TSettings& settings) {
  try {
    ini.WriteBool(kSection, L"MinimizeOnRun", settings.MinimizeOnRun);
    ini.WriteBool(kSection, L"CheckExit", settings.CheckExit);
    ini.WriteBool(kSection, L"RunOnlyOneCopy", settings.RunOnlyOneCopy);
    ini.WriteInteger(kSection, L"ReaderType", settings.ReaderType);
    ini.WriteInteger(kSection, L"PortNumber", settings.PortNumber);
  } catch (const IniWriteError&) {
    return false;
  }
  return true;
}

void LoadOutputSettingsFrom(const TIniFile& ini, TOutputSettings& output) {
  output = TOutputSettings{};
  output.Format = ReadOption(ini, kOutputSection, L"Format", output.Format, 0, 2);
  output.Suffix = ReadOption(ini, kOutputSection, L"Suffix", output.Suffix, 0, 2);
  output.NoCaretTyping =
      ReadOption(ini, kOutputSection, L"NoCaretTyping", output.NoCaretTyping, 0, 1);
}

bool SaveOutputSettingsTo(TIniFile& ini, const TOutputSettings& output,
                          const TOutputSettings& onFile) {
  if (output == onFile) return true;
  try {
    ini.WriteInteger(kOutputSection, L"Format", static_cast<std::int32_t>(output.Format));
    ini.WriteInteger(kOutputSection, L"Suffix", static_cast<std::int32_t>(output.Suffix));
    ini.WriteBool(kOutputSection, L"NoCaretTyping", output.NoCaretTyping);
  } catch (const IniWriteError&) {
    return false;
  }
  return true;
}

void LoadJournalSettingsFrom(const TIniFile& ini, TJournalSettings& journal) {
  journal = TJournalSettings{};
  journal.ToFile = ReadOption(ini, kJournalSection, L"ToFile", journal.ToFile, 0, 1);
  journal.KeepDays =
      ReadOption(ini, kJournalSection, L"KeepDays", journal.KeepDays, 1, kMostJournalDays);
}

bool SaveJournalSettingsTo(TIniFile& ini, const TJournalSettings& journal,
                           const TJournalSettings& onFile) {
  if (journal == onFile) return true;
  try {
    ini.WriteBool(kJournalSection, L"ToFile", journal.ToFile);
    ini.WriteInteger(kJournalSection, L"KeepDays", journal.KeepDays);
  } catch (const IniWriteError&) {
    return false;
  }
  return true;
}

void LoadProgramSettingsFrom(const TIniFile& ini) {
  TSettings loaded;
  LoadSettingsFrom(ini, loaded);
  Settings = loaded;
  LoadOutputSettingsFrom(ini, OutputOnFile);
  SetOutputSettings(OutputOnFile);
  LoadJournalSettingsFrom(ini, JournalOnFile);
  JournalSettings = JournalOnFile;
}

bool SaveProgramSettingsTo(TIniFile& ini) {
  const TOutputSettings output = OutputSettingsNow();
  if (!SaveSettingsTo(ini, Settings) || !SaveOutputSettingsTo(ini, output, OutputOnFile))
    return false;
  OutputOnFile = output;
  if (!SaveJournalSettingsTo(ini, JournalSettings, JournalOnFile)) return false;
  JournalOnFile = JournalSettings;
  return true;
}
