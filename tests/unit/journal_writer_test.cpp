#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "journal/journal_csv.h"
#include "journal/journal_sink.h"
#include "journal/journal_writer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TJournalRow Row(CardCode code, TLocalTime time = {2026, 12, 9, 10, 0, 0}) {
  return JournalRowOf({{code}, {L"Окно", L"app"}}, time);
}

std::vector<CardCode> Numbers(const std::vector<TJournalRow>& rows) {
  std::vector<CardCode> numbers;
  for (const TJournalRow& row : rows) numbers.push_back(std::stoull(row.Number));
  return numbers;
}

// ---- the run's journal -----------------------------------------------------------------------

TEST(SessionJournal, KeepsTheNewestInOrderAndFindsThemBySerial) {
  TSessionJournal journal;
  for (CardCode code = 1; code <= TSessionJournal::kCapacity + 2; ++code) journal.Add(Row(code));
  const auto rows = journal.RowsAfter(0);
  ASSERT_EQ(rows.size(), TSessionJournal::kCapacity);
  EXPECT_EQ(rows.front().Serial, 3u);
  EXPECT_EQ(rows.back().Serial, TSessionJournal::kCapacity + 2);
  EXPECT_EQ(Numbers(journal.RowsAfter(TSessionJournal::kCapacity)),
            (std::vector<CardCode>{TSessionJournal::kCapacity + 1, TSessionJournal::kCapacity + 2}));
  EXPECT_EQ(journal.Find(3)->Number, L"3");
  EXPECT_FALSE(journal.Find(2));
  EXPECT_FALSE(journal.Find(TSessionJournal::kCapacity + 3));
}

// The reader adds while the writer takes: every row comes out once, in the order read.
TEST(SessionJournal, ABurstFromTheReaderReachesTheWriterWholeAndInOrder) {
  TSessionJournal journal;
  journal.KeepForFile(true);
  std::vector<std::uint64_t> serials;
  TJournalSink sink(journal, [] { return TLocalTime{}; },
                    [&](std::uint64_t serial) { serials.push_back(serial); });
  std::thread reader([&] {
    for (CardCode code = 1; code <= 50; ++code) sink.Outcome({{code}, {}});
  });
  std::vector<CardCode> taken;
  while (taken.size() < 50) {
    const auto rows = journal.TakeUnwritten(std::chrono::steady_clock::now() + 5s);
    ASSERT_FALSE(rows.empty()) << "the wait ended with " << taken.size() << " rows taken";
    for (CardCode code : Numbers(rows)) taken.push_back(code);
  }
  reader.join();
  std::vector<CardCode> expected(50);
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = i + 1;
  EXPECT_EQ(taken, expected);
  EXPECT_EQ(serials.back(), 50u);
}

// ---- the writer ------------------------------------------------------------------------------

class JournalWriterTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "journal-XXXXXX").string();
    ASSERT_NE(mkdtemp(name.data()), nullptr);
    Root_ = name;
    Folder = Root_ / "journal";
  }
  void TearDown() override { fs::remove_all(Root_); }

  std::unique_ptr<TJournalWriter> Writer() {
    return std::make_unique<TJournalWriter>(
        Journal, Folder,
        [this] {
          const std::lock_guard lock(ClockLock_);
          return Now_;
        },
        [this](const fs::path& file) {
          const std::lock_guard lock(ClockLock_);
          Failures.push_back(file);
        });
  }
  void SetNow(const TLocalTime& now) {
    const std::lock_guard lock(ClockLock_);
    Now_ = now;
  }
  std::vector<fs::path> FailuresNow() {
    const std::lock_guard lock(ClockLock_);
    return Failures;
  }

  static std::string Contents(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
  }
  static std::string FileOf(std::initializer_list<TJournalRow> rows) {
    std::string text = std::string(kUtf8Bom) + CsvHeaderLine();
    for (const TJournalRow& row : rows) text += CsvLineOf(row);
    return text;
  }
  // The writer has finished with everything added before: it wrote the fence card.
  void WaitForFence(const fs::path& file, const std::string& fenceLine) {
    for (int i = 0; i < 500 && !Contents(file).ends_with(fenceLine); ++i)
      std::this_thread::sleep_for(10ms);
  }

  TSessionJournal Journal;
  fs::path Folder;
  std::vector<fs::path> Failures;

 private:
  fs::path Root_;
  std::mutex ClockLock_;
  TLocalTime Now_{2026, 12, 9, 10, 0, 0};
};

TEST_F(JournalWriterTest, AppendsEachCardToTheFileOfItsDayWithOneHeader) {
  auto writer = Writer();
  writer->Configure({.ToFile = true});
  TJournalRow first = Row(1), second = Row(2), late = Row(3, {2026, 12, 9, 23, 59, 59}),
              next = Row(4, {2026, 12, 10, 0, 0, 1});
  first.Serial = Journal.Add(first);
  second.Serial = Journal.Add(second);
  WaitForFence(Folder / "2026-12-09.csv", CsvLineOf(second));
  late.Serial = Journal.Add(late);
  next.Serial = Journal.Add(next);
  WaitForFence(Folder / "2026-12-10.csv", CsvLineOf(next));
  writer.reset();
  EXPECT_EQ(Contents(Folder / "2026-12-09.csv"), FileOf({first, second, late}));
  EXPECT_EQ(Contents(Folder / "2026-12-10.csv"), FileOf({next}));
}

// Card numbers are personal data: with the file off nothing reaches the disk, not even
// later, when it is switched on.
TEST_F(JournalWriterTest, NothingIsWrittenWhileTheFileIsOff) {
  auto writer = Writer();
  writer->Configure({.ToFile = false});
  Journal.Add(Row(1));
  writer->Configure({.ToFile = true});
  TJournalRow fence = Row(2);
  fence.Serial = Journal.Add(fence);
  WaitForFence(Folder / "2026-12-09.csv", CsvLineOf(fence));
  writer.reset();
  EXPECT_EQ(Contents(Folder / "2026-12-09.csv"), FileOf({fence}));
}

// A folder that cannot be made is told once, however many cards fail; the rows wait and
// are written once the folder can be made, and a new failure is told again.
TEST_F(JournalWriterTest, AFailureIsToldOnceAndTheRowsWaitForTheNextWrite) {
  { std::ofstream blocker(Folder); }
  auto writer = Writer();
  writer->Configure({.ToFile = true});
  TJournalRow first = Row(1), second = Row(2), third = Row(3);
  first.Serial = Journal.Add(first);
  for (int i = 0; i < 500 && FailuresNow().empty(); ++i) std::this_thread::sleep_for(10ms);
  second.Serial = Journal.Add(second);
  fs::remove(Folder);
  third.Serial = Journal.Add(third);
  WaitForFence(Folder / "2026-12-09.csv", CsvLineOf(third));
  writer.reset();
  ASSERT_EQ(FailuresNow().size(), 1u);
  EXPECT_EQ(FailuresNow()[0], Folder / "2026-12-09.csv");
  const std::string contents = Contents(Folder / "2026-12-09.csv");
  // The second card may have failed or been written with the third, never lost or doubled.
  EXPECT_EQ(contents, FileOf({first, second, third}));
}

// Old files go at start and again when midnight passes, with the days kept; other files in
// the folder are the operator's and stay.
TEST_F(JournalWriterTest, DeletesOldFilesAtStartAndAtMidnight) {
  fs::create_directories(Folder);
  for (const char* name : {"2026-12-07.csv", "2026-12-08.csv", "2026-12-09.csv", "notes.csv"})
    std::ofstream(Folder / name) << "x";
  SetNow({2026, 12, 9, 23, 59, 59});
  auto writer = Writer();
  writer->Configure({.ToFile = false, .KeepDays = 2});
  for (int i = 0; i < 500 && fs::exists(Folder / "2026-12-07.csv"); ++i)
    std::this_thread::sleep_for(10ms);
  EXPECT_FALSE(fs::exists(Folder / "2026-12-07.csv"));
  EXPECT_TRUE(fs::exists(Folder / "2026-12-08.csv"));
  SetNow({2026, 12, 10, 0, 0, 1});
  for (int i = 0; i < 500 && fs::exists(Folder / "2026-12-08.csv"); ++i)
    std::this_thread::sleep_for(10ms);
  writer.reset();
  EXPECT_FALSE(fs::exists(Folder / "2026-12-08.csv"));
  EXPECT_TRUE(fs::exists(Folder / "2026-12-09.csv"));
  EXPECT_TRUE(fs::exists(Folder / "notes.csv"));
}

}  // namespace
