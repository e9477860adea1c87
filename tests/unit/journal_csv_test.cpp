#include <gtest/gtest.h>

#include "core/utf8_text.h"
#include "journal/journal_csv.h"
#include "journal/journal_files.h"
#include "journal/journal_texts.h"

namespace {

constexpr TLocalTime kNoon{2026, 12, 9, 12, 5, 7};

TJournalRow RowWithTitle(const std::wstring& title) {
  return JournalRowOf({{0x12345678, TCardFormat::FacilityNumber, 0, TNotTyped::None},
                       {title, L"notepad.exe"}},
                      kNoon);
}

// The record without its line end, as a program reading the file cuts it.
std::string Record(const std::string& line) {
  EXPECT_TRUE(line.ends_with("\r\n")) << line;
  return line.substr(0, line.size() - 2);
}

// ---- a line can neither break the file nor act in it ---------------------------------------

struct HostileTitle {
  const char* name;
  std::wstring title;
  friend void PrintTo(const HostileTitle& row, std::ostream* out) { *out << row.name; }
};

class CsvRoundTrip : public testing::TestWithParam<HostileTitle> {};

TEST_P(CsvRoundTrip, ReadsBackTheSameFiveFields) {
  const TJournalRow row = RowWithTitle(GetParam().title);
  const auto fields = CsvFieldsOf(Record(CsvLineOf(row)));
  ASSERT_TRUE(fields) << CsvLineOf(row);
  EXPECT_EQ(*fields, (std::vector<std::wstring>{L"09.12.2026 12:05:07", L"4660,22136",
                                                 GetParam().title, L"notepad.exe",
                                                 kJournalTyped}));
}

// A spreadsheet takes a field for a formula by its first character, once the quotes are off.
TEST_P(CsvRoundTrip, NoFieldStartsAsAFormula) {
  std::string field = CsvField(GetParam().title);
  if (field.starts_with('"')) field = field.substr(1);
  ASSERT_FALSE(field.empty() && !GetParam().title.empty());
  if (!field.empty()) EXPECT_EQ(std::string("=+-@\t\r").find(field.front()), std::string::npos);
}

const HostileTitle kTitles[] = {
    {"Plain", L"Безымянный — Блокнот"},
    {"Empty", L""},
    {"Separators", L"a;b;;c;"},
    {"Quotes", L"\"Пропуск\" \"\""},
    {"LineBreaks", L"first\r\nsecond\nthird\r"},
    {"AllAtOnce", L"\";\r\n\";"},
    {"Formula", L"=HYPERLINK(\"http://x\";\"клик\")"},
    {"Plus", L"+7 (495) 000-00-00"},
    {"Minus", L"-2+3"},
    {"At", L"@SUM(A1)"},
    {"Tab", L"\t=1"},
    {"CarriageReturnFirst", L"\r=1"},
    {"Apostrophe", L"'quoted"},
    {"ApostropheThenFormula", L"'=1"},
    {"LoneApostrophe", L"'"},
    {"Unicode", L"日本語 עברית Ελληνικά \u00A0\u200B"},
    {"PastTheBasicPlane", L"Карта \U0001F4B3 \U0001F600"},
};
INSTANTIATE_TEST_SUITE_P(Titles, CsvRoundTrip, testing::ValuesIn(kTitles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CsvFile, HeaderNamesTheFiveColumns) {
  const auto fields = CsvFieldsOf(Record(CsvHeaderLine()));
  ASSERT_TRUE(fields);
  EXPECT_EQ(*fields, (std::vector<std::wstring>{L"Время", L"Номер", L"Окно", L"Программа",
                                                 L"Итог"}));
  EXPECT_EQ(std::string(kUtf8Bom), "\xEF\xBB\xBF");
}

TEST(CsvFile, ABrokenRecordIsNoRecord) {
  EXPECT_FALSE(CsvFieldsOf("\"open;b"));
  EXPECT_FALSE(CsvFieldsOf("\"closed\"text;b"));
  EXPECT_FALSE(CsvFieldsOf("un\"quoted;b"));
}

// On Windows the wide strings are UTF-16: a character past U+FFFF is a pair, written as one.
TEST(Utf8, SurrogatePairsAreOneCharacter) {
  const std::u16string text = u"a\U0001F4B3б";
  EXPECT_EQ(Utf8OfUtf16(text), "a\xF0\x9F\x92\xB3\xD0\xB1");
  EXPECT_EQ(Utf16OfUtf8(Utf8OfUtf16(text)), text);
  EXPECT_EQ(Utf8OfUtf16(u"\xD800x"), "\xED\xA0\x80x");  // a lone half is kept as it stands
}

// ---- the row's texts -------------------------------------------------------------------------

TEST(JournalRow, TextsOfTheColumns) {
  EXPECT_EQ(TimeText({2027, 1, 2, 3, 4, 5}), L"02.01.2027 03:04:05");
  EXPECT_EQ(WhereText({L"Пропуска", L"pass.exe"}), L"Пропуска — pass.exe");
  EXPECT_EQ(WhereText({L"", L"pass.exe"}), L"pass.exe");
  EXPECT_EQ(WhereText({L"Пропуска", L""}), L"Пропуска");
  EXPECT_EQ(WhereText({}), L"нет окна");
  EXPECT_EQ(OutcomeText(TNotTyped::None), L"введён");
  // The reason comes on one line, whatever lines the balloon gives it.
  EXPECT_EQ(OutcomeText(TNotTyped::OwnWindow),
            L"не введён: Активно окно самого драйвера, в его окна номер не вводится.");
}

TEST(JournalRow, NumberInTheFormatItWasTypedWith) {
  const TCardOutcome hex{{0xAB12, TCardFormat::Hexadecimal, 1, TNotTyped::NoCaret}, {}};
  const TJournalRow row = JournalRowOf(hex, kNoon);
  EXPECT_EQ(row.Number, L"000000AB12");
  EXPECT_EQ(row.Outcome, TNotTyped::NoCaret);
  EXPECT_EQ(row.Time, kNoon);
}

// ---- the daily files -------------------------------------------------------------------------

TEST(JournalFiles, NamedByTheDayAndKnownOnlyByThatName) {
  EXPECT_EQ(JournalFileName({2026, 3, 7}), L"2026-03-07.csv");
  EXPECT_EQ(JournalFileDay(L"2024-02-29.csv"), (TLocalTime{.Year = 2024, .Month = 2, .Day = 29}));
  for (const wchar_t* other : {L"2023-02-29.csv", L"2026-13-01.csv", L"2026-1-01.csv",
                               L"2026-01-01.txt", L"notes.csv", L"2026-01-01.csv.bak",
                               L"2026+01-01.csv", L"２０２６-01-01.csv"})
    EXPECT_FALSE(JournalFileDay(other)) << other;
}

TEST(JournalFiles, OldAreThoseTheDaysKeptHaveLeftBehind) {
  const std::vector<std::wstring> names{L"2026-03-01.csv", L"2026-02-28.csv", L"2026-02-27.csv",
                                        L"2025-12-31.csv", L"notes.csv",      L"2026-03-02.csv"};
  // With 2 days kept on 1 March: 1 March and 28 February stay (no 29th in 2026).
  EXPECT_EQ(OldJournalFiles(names, {2026, 3, 1}, 2),
            (std::vector<std::wstring>{L"2026-02-27.csv", L"2025-12-31.csv"}));
  EXPECT_TRUE(OldJournalFiles(names, {2026, 3, 1}, 3650).size() == 0);
}

TEST(JournalFiles, SecondsToMidnight) {
  EXPECT_EQ(SecondsToMidnight({2026, 1, 1, 0, 0, 0}), 86400);
  EXPECT_EQ(SecondsToMidnight({2026, 1, 1, 23, 59, 59}), 1);
  EXPECT_EQ(SecondsToMidnight({2026, 1, 1, 23, 59, 60}), 1);  // a leap second
}

}  // namespace
