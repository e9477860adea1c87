// The journal's files through the C++ runtime's wide paths, in a folder whose name has
// Cyrillic letters, as under a Russian user's profile.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "journal/journal_csv.h"
#include "journal/journal_writer.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/text_file.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

TEST(JournalWriter, WritesAndDeletesUnderACyrillicFolder) {
  const TScratchDir dir{L"Иванов Журнал"};
  const fs::path folder = dir.Path() / L"journal";
  fs::create_directories(folder);
  WriteWholeFile(folder / L"2026-11-01.csv", "old");
  const TLocalTime now{2026, 12, 9, 10, 0, 0};
  TSessionJournal journal;
  std::string written;
  {
    TJournalWriter writer(journal, folder, [now] { return now; }, nullptr);
    writer.Configure({.ToFile = true, .KeepDays = 30});
    TJournalRow row = JournalRowOf({{305419896}, {L"Пропуска «Вход»", L"проходная.exe"}}, now);
    row.Serial = journal.Add(row);
    written = std::string(kUtf8Bom) + CsvHeaderLine() + CsvLineOf(row);
    for (int i = 0; i < 500 && ReadWholeFile(folder / L"2026-12-09.csv") != written; ++i)
      std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(ReadWholeFile(folder / L"2026-12-09.csv"), written);
  EXPECT_FALSE(fs::exists(folder / L"2026-11-01.csv"));
}

}  // namespace
