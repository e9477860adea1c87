// What the window «Журнал карт» shows: newest on top, a card found by its serial wherever new
// cards pushed it, and the numbers copied in the order they stand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal/session_journal.h"
#include "ui/journal/journal_view.h"

namespace {

TJournalRow Row(std::uint64_t serial, std::wstring number, TNotTyped outcome = TNotTyped::None) {
  return {.Serial = serial,
          .Time = {2026, 12, 9, 14, 3, static_cast<int>(serial % 60)},
          .Number = std::move(number),
          .Target = {L"Пропуск = Бюро", L"pass.exe"},
          .Outcome = outcome};
}

TEST(JournalView, NewestOnTop) {
  TJournalView view;
  const std::vector<TJournalRow> rows{Row(1, L"111"), Row(2, L"052,22136", TNotTyped::NoCaret)};
  view.Add(rows);
  ASSERT_EQ(view.Count(), 2u);
  EXPECT_EQ(view.CellText(0, TJournalColumn::Number), L"052,22136");
  EXPECT_EQ(view.CellText(1, TJournalColumn::Number), L"111");
}

TEST(JournalView, ACardIsFoundWhereNewCardsPushedItAndRowsAreTakenOnce) {
  TJournalView view;
  const std::vector<TJournalRow> first{Row(1, L"1"), Row(2, L"2"), Row(3, L"3")};
  view.Add(first);
  EXPECT_EQ(view.LineOf(2), 1u);
  // A look that overlaps the last one adds only what is new.
  const std::vector<TJournalRow> next{Row(3, L"3"), Row(4, L"4"), Row(5, L"5")};
  view.Add(next);
  EXPECT_EQ(view.Count(), 5u);
  EXPECT_EQ(view.LastSerial(), 5u);
  EXPECT_EQ(view.LineOf(2), 3u);
  EXPECT_EQ(view.LineOf(5), 0u);
  EXPECT_EQ(view.LineOf(6), std::nullopt);
  EXPECT_EQ(view.LineOf(0), std::nullopt);
}

TEST(JournalView, KeepsWhatTheJournalKeepsAndForgetsTheOldest) {
  TJournalView view;
  std::vector<TJournalRow> rows;
  for (std::uint64_t serial = 1; serial <= TSessionJournal::kCapacity + 2; ++serial)
    rows.push_back(Row(serial, std::to_wstring(serial)));
  view.Add(rows);
  EXPECT_EQ(view.Count(), TSessionJournal::kCapacity);
  EXPECT_EQ(view.LineOf(2), std::nullopt);
  EXPECT_EQ(view.LineOf(3), TSessionJournal::kCapacity - 1);
}

TEST(JournalView, CopiedNumbersStandOneALineTopToBottom) {
  TJournalView view;
  const std::vector<TJournalRow> rows{Row(1, L"111"), Row(2, L"222"), Row(3, L"333")};
  view.Add(rows);
  const std::vector<std::size_t> one{1};
  EXPECT_EQ(view.NumbersText(one), L"222");
  const std::vector<std::size_t> picked{2, 0, 7};
  EXPECT_EQ(view.NumbersText(picked), L"333\r\n111");
  EXPECT_EQ(view.NumbersText({}), L"");
}

}  // namespace
