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

}  // namespace
