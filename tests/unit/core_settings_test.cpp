#include <gtest/gtest.h>

#include "core/settings.h"
#include "memory_profile_store.h"

namespace {

const std::wstring kSection = L"SETTINGS";

TSettings LoadFrom(MemoryProfileStore& store) {
  const TIniFile ini(store, L"C:\\Lintavo\\Lintavo.ini");
  TSettings settings;
  settings.PortNumber = 77;  // whatever the record held before is replaced by the defaults
  LoadSettingsFrom(ini, settings);
  return settings;
}

std::wstring Stored(MemoryProfileStore& store, const std::wstring& key) {
  return store.values[{kSection, key}];
}

TSettings LoadWith(const std::wstring& key, const std::wstring& value) {
  MemoryProfileStore store;
  store.values[{kSection, key}] = value;
  return LoadFrom(store);
}

TEST(LoadSettings, NoFileGivesTheDefaults) {
  MemoryProfileStore store;
  const TSettings s = LoadFrom(store);
  EXPECT_TRUE(s.MinimizeOnRun);
  EXPECT_TRUE(s.CheckExit);
  EXPECT_TRUE(s.RunOnlyOneCopy);
  EXPECT_EQ(s.ReaderType, 0);
  EXPECT_EQ(s.PortNumber, 2);
}

struct ByteCase {
  const char* name;
  const wchar_t* stored;
  int expected;
};

class ReaderTypeLoad : public testing::TestWithParam<ByteCase> {};
TEST_P(ReaderTypeLoad, TruncatesToAByteThenClampsToOne) {
  EXPECT_EQ(LoadWith(L"ReaderType", GetParam().stored).ReaderType, GetParam().expected);
}
const ByteCase kReaderTypes[] = {
    {"Zero", L"0", 0},          {"One", L"1", 1},        {"FiveClamps", L"5", 1},
    {"LowByteOf256", L"256", 0}, {"MinusOneClamps", L"-1", 1}, {"Word", L"forty", 0},
    {"Hex", L"$101", 1},
};
INSTANTIATE_TEST_SUITE_P(Values, ReaderTypeLoad, testing::ValuesIn(kReaderTypes),
                         [](const auto& info) { return std::string(info.param.name); });

class PortNumberLoad : public testing::TestWithParam<ByteCase> {};
TEST_P(PortNumberLoad, TruncatesToAByte) {
  EXPECT_EQ(LoadWith(L"PortNumber", GetParam().stored).PortNumber, GetParam().expected);
}
const ByteCase kPortNumbers[] = {
    {"LowByteOf300", L"300", 44}, {"MinusOne", L"-1", 255}, {"Zero", L"0", 0},
    {"DollarHex", L"$0C", 12},    {"ZeroXHex", L"0x0C", 12}, {"LettersKeepDefault", L"12a", 2},
    {"EmptyKeepsDefault", L"", 2}, {"OutOfRangeKeepsDefault", L"4294967296", 2},
};
INSTANTIATE_TEST_SUITE_P(Values, PortNumberLoad, testing::ValuesIn(kPortNumbers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LoadSettings, BooleansAreNumbersNotWords) {
  EXPECT_TRUE(LoadWith(L"MinimizeOnRun", L"7").MinimizeOnRun);
  EXPECT_FALSE(LoadWith(L"MinimizeOnRun", L"0").MinimizeOnRun);
  EXPECT_TRUE(LoadWith(L"MinimizeOnRun", L"false").MinimizeOnRun);
  EXPECT_FALSE(LoadWith(L"CheckExit", L"$0").CheckExit);
  EXPECT_FALSE(LoadWith(L"RunOnlyOneCopy", L" 0").RunOnlyOneCopy);
}

TEST(LoadSettings, GarbageEverywhereGivesTheDefaults) {
  MemoryProfileStore store;
  for (const wchar_t* key :
       {L"MinimizeOnRun", L"CheckExit", L"RunOnlyOneCopy", L"ReaderType", L"PortNumber"}) {
    store.values[{kSection, key}] = L"\x0416#garbage 0x";
  }
  const TSettings s = LoadFrom(store);
  EXPECT_TRUE(s.MinimizeOnRun && s.CheckExit && s.RunOnlyOneCopy);
  EXPECT_EQ(s.ReaderType, 0);
  EXPECT_EQ(s.PortNumber, 2);
}

TEST(LoadSettings, OtherSectionsAreNotRead) {
  MemoryProfileStore store;
  store.values[{L"Place", L"PortNumber"}] = L"9";
  EXPECT_EQ(LoadFrom(store).PortNumber, 2);
}

TEST(SaveSettings, WritesAllFiveKeysInOrderAsDecimal) {
  MemoryProfileStore store;
  TIniFile ini(store, L"x.ini");
  const TSettings settings{false, true, false, 1, 255};
  ASSERT_TRUE(SaveSettingsTo(ini, settings));
  EXPECT_EQ(store.written, (std::vector<std::wstring>{L"MinimizeOnRun", L"CheckExit",
                                                      L"RunOnlyOneCopy", L"ReaderType",
                                                      L"PortNumber"}));
  EXPECT_EQ(Stored(store, L"MinimizeOnRun"), L"0");
  EXPECT_EQ(Stored(store, L"CheckExit"), L"1");
  EXPECT_EQ(Stored(store, L"ReaderType"), L"1");
  EXPECT_EQ(Stored(store, L"PortNumber"), L"255");
}

TEST(SaveSettings, AFailedWriteStopsTheRestAndReportsFalse) {
  MemoryProfileStore store;
  store.failAfterWrites = 2;
  TIniFile ini(store, L"x.ini");
  EXPECT_FALSE(SaveSettingsTo(ini, TSettings{}));
  EXPECT_EQ(store.written, (std::vector<std::wstring>{L"MinimizeOnRun", L"CheckExit"}));
}

TEST(SaveSettings, SavedValuesLoadBackUnchanged) {
  MemoryProfileStore store;
  TIniFile ini(store, L"x.ini");
  const TSettings settings{false, false, true, 1, 12};
  ASSERT_TRUE(SaveSettingsTo(ini, settings));
  const TSettings loaded = LoadFrom(store);
  EXPECT_EQ(loaded.MinimizeOnRun, settings.MinimizeOnRun);
  EXPECT_EQ(loaded.CheckExit, settings.CheckExit);
  EXPECT_EQ(loaded.RunOnlyOneCopy, settings.RunOnlyOneCopy);
  EXPECT_EQ(loaded.ReaderType, settings.ReaderType);
  EXPECT_EQ(loaded.PortNumber, settings.PortNumber);
}

TEST(IniFile, AFailedWriteNamesTheFile) {
  MemoryProfileStore store;
  store.failAfterWrites = 0;
  TIniFile ini(store, L"C:\\Программы\\Lintavo.ini");
  try {
    ini.WriteInteger(L"Place", L"Flags", 0);
    FAIL() << "the write should have failed";
  } catch (const IniWriteError& e) {
    EXPECT_EQ(e.Message(), L"Unable to write to C:\\Программы\\Lintavo.ini");
  }
}

// ---- section "OUTPUT" --------------------------------------------------------------------

const std::wstring kOutput = L"OUTPUT";

TOutputSettings LoadOutputFrom(MemoryProfileStore& store) {
  const TIniFile ini(store, L"x.ini");
  TOutputSettings output{TCardFormat::Hexadecimal, TCardSuffix::Tab, true};  // replaced
  LoadOutputSettingsFrom(ini, output);
  return output;
}

std::wstring StoredOutput(MemoryProfileStore& store, const std::wstring& key) {
  return store.values[{kOutput, key}];
}

TOutputSettings LoadOutputWith(const std::wstring& key, const std::wstring& value) {
  MemoryProfileStore store;
  store.values[{kOutput, key}] = value;
  return LoadOutputFrom(store);
}

TEST(LoadOutputSettings, NoSectionGivesTheDefaults) {
  MemoryProfileStore store;
  store.values[{kSection, L"Format"}] = L"2";  // another section's key of the same name
  EXPECT_EQ(LoadOutputFrom(store), TOutputSettings{});
}

struct OptionCase {
  const char* name;
  const wchar_t* key;
  const wchar_t* stored;
  TOutputSettings expected;
};

class OutputOptionLoad : public testing::TestWithParam<OptionCase> {};
TEST_P(OutputOptionLoad, InRangeIsTakenAnythingElseIsTheDefault) {
  EXPECT_EQ(LoadOutputWith(GetParam().key, GetParam().stored), GetParam().expected);
}
constexpr TOutputSettings kDefaults{};
constexpr TOutputSettings kFacility{TCardFormat::FacilityNumber, TCardSuffix::None, false};
constexpr TOutputSettings kHex{TCardFormat::Hexadecimal, TCardSuffix::None, false};
constexpr TOutputSettings kEnter{TCardFormat::Decimal, TCardSuffix::Enter, false};
constexpr TOutputSettings kTab{TCardFormat::Decimal, TCardSuffix::Tab, false};
constexpr TOutputSettings kNoCaret{TCardFormat::Decimal, TCardSuffix::None, true};
const OptionCase kOptions[] = {
    {"FormatFacility", L"Format", L"1", kFacility},
    {"FormatHex", L"Format", L"2", kHex},
    {"FormatHexSpelledInHex", L"Format", L"$2", kHex},
    {"FormatThreeIsOutOfRange", L"Format", L"3", kDefaults},
    {"FormatNegative", L"Format", L"-1", kDefaults},
    {"FormatIsNotCutToAByte", L"Format", L"257", kDefaults},
    {"FormatWord", L"Format", L"hex", kDefaults},
    {"SuffixEnter", L"Suffix", L"1", kEnter},
    {"SuffixTab", L"Suffix", L" 2", kTab},
    {"SuffixOutOfRange", L"Suffix", L"9", kDefaults},
    {"SuffixEmpty", L"Suffix", L"", kDefaults},
    {"NoCaretTypingOn", L"NoCaretTyping", L"1", kNoCaret},
    {"NoCaretTypingTwoIsOutOfRange", L"NoCaretTyping", L"2", kDefaults},
    {"NoCaretTypingWord", L"NoCaretTyping", L"yes", kDefaults},
};
INSTANTIATE_TEST_SUITE_P(Values, OutputOptionLoad, testing::ValuesIn(kOptions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SaveOutputSettings, NothingChangedWritesNothing) {
  MemoryProfileStore store;
  TIniFile ini(store, L"x.ini");
  EXPECT_TRUE(SaveOutputSettingsTo(ini, kDefaults, kDefaults));
  EXPECT_TRUE(SaveOutputSettingsTo(ini, kHex, kHex));
  EXPECT_TRUE(store.written.empty());
}

TEST(SaveOutputSettings, AnyChangeWritesAllThreeKeysInOrder) {
  MemoryProfileStore store;
  TIniFile ini(store, L"x.ini");
  const TOutputSettings output{TCardFormat::Hexadecimal, TCardSuffix::Tab, true};
  ASSERT_TRUE(SaveOutputSettingsTo(ini, output, kHex));
  EXPECT_EQ(store.written, (std::vector<std::wstring>{L"Format", L"Suffix", L"NoCaretTyping"}));
  EXPECT_EQ(StoredOutput(store, L"Format"), L"2");
  EXPECT_EQ(StoredOutput(store, L"Suffix"), L"2");
  EXPECT_EQ(StoredOutput(store, L"NoCaretTyping"), L"1");
  EXPECT_EQ(LoadOutputFrom(store), output);
}

TEST(SaveOutputSettings, AChangeBackToTheDefaultsIsWrittenToo) {
  MemoryProfileStore store;
  TIniFile ini(store, L"x.ini");
  ASSERT_TRUE(SaveOutputSettingsTo(ini, kDefaults, kNoCaret));
  EXPECT_EQ(StoredOutput(store, L"NoCaretTyping"), L"0");
  EXPECT_EQ(StoredOutput(store, L"Format"), L"0");
}

TEST(SaveOutputSettings, AFailedWriteStopsTheRestAndReportsFalse) {
  MemoryProfileStore store;
  store.failAfterWrites = 1;
  TIniFile ini(store, L"x.ini");
  EXPECT_FALSE(SaveOutputSettingsTo(ini, kEnter, kDefaults));
  EXPECT_EQ(store.written, std::vector<std::wstring>{L"Format"});
}

// ---- section "JOURNAL" ---------------------------------------------------------------------

TJournalSettings LoadJournalWith(const std::wstring& key, const std::wstring& value) {
  MemoryProfileStore store;
  store.values[{L"JOURNAL", key}] = value;
  const TIniFile ini(store, L"x.ini");
  TJournalSettings journal{.ToFile = true, .KeepDays = 5};  // replaced by what the file says
  LoadJournalSettingsFrom(ini, journal);
  return journal;
}

TEST(JournalSettings, AValueOutOfItsRangeGivesTheDefault) {
  EXPECT_EQ(LoadJournalWith(L"ToFile", L"1"), (TJournalSettings{.ToFile = true}));
  EXPECT_EQ(LoadJournalWith(L"ToFile", L"2"), TJournalSettings{});
  EXPECT_EQ(LoadJournalWith(L"KeepDays", L"0"), TJournalSettings{});
  EXPECT_EQ(LoadJournalWith(L"KeepDays", L"3651"), TJournalSettings{});
  EXPECT_EQ(LoadJournalWith(L"KeepDays", L"3650").KeepDays, 3650);
  EXPECT_EQ(LoadJournalWith(L"KeepDays", L"7").KeepDays, 7);
}

// Nothing is written unless the operator changed it, so a file without the section keeps
// without it; a change writes both keys, and they read back.
TEST(JournalSettings, WrittenOnlyWhenChanged) {
  MemoryProfileStore store;
  TIniFile ini(store, L"x.ini");
  ASSERT_TRUE(SaveJournalSettingsTo(ini, TJournalSettings{}, TJournalSettings{}));
  EXPECT_TRUE(store.written.empty());
  const TJournalSettings changed{.ToFile = true, .KeepDays = 90};
  ASSERT_TRUE(SaveJournalSettingsTo(ini, changed, TJournalSettings{}));
  EXPECT_EQ(store.written, (std::vector<std::wstring>{L"ToFile", L"KeepDays"}));
  TJournalSettings loaded;
  LoadJournalSettingsFrom(ini, loaded);
  EXPECT_EQ(loaded, changed);
}

}  // namespace
