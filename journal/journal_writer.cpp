#include "journal/journal_writer.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "journal/journal_csv.h"
#include "journal/journal_files.h"

namespace {

bool SameDay(const TLocalTime& a, const TLocalTime& b) {
  return a.Year == b.Year && a.Month == b.Month && a.Day == b.Day;
}

// A file is new, or emptied by someone, when it has nothing yet: it starts with the mark and
// the header then.
bool Empty(const std::filesystem::path& file) {
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  return error || size == 0;
}

}  // namespace

void DeleteOldJournalFiles(const std::filesystem::path& folder, const TLocalTime& today,
                           int keepDays) {
  std::vector<std::wstring> names;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    if (entry->is_regular_file(error)) names.push_back(entry->path().filename().wstring());
  }
  for (const std::wstring& name : OldJournalFiles(names, today, keepDays))
    std::filesystem::remove(folder / name, error);
}

TJournalWriter::TJournalWriter(TSessionJournal& journal, std::filesystem::path folder,
                               TClock clock, TFailure failed)
    : Journal_(journal),
      Folder_(std::move(folder)),
      Clock_(std::move(clock)),
      Failed_(std::move(failed)),
      Thread_(&TJournalWriter::Run, this) {}

// The stop is set before the journal's wait is ended, so the thread sees it when it wakes.
TJournalWriter::~TJournalWriter() {
  {
    const std::lock_guard lock(SettingsLock_);
    Stopping_ = true;
  }
  Journal_.Interrupt();
  Thread_.join();
}

void TJournalWriter::Configure(const TJournalSettings& settings) {
  {
    const std::lock_guard lock(SettingsLock_);
    Settings_ = settings;
    Configured_ = true;
  }
  Journal_.KeepForFile(settings.ToFile);
  Journal_.Interrupt();
}

// Wakes for new rows, new settings, the stop and each midnight.
void TJournalWriter::Run() {
  while (true) {
    const auto midnight =
        std::chrono::steady_clock::now() + std::chrono::seconds(SecondsToMidnight(Clock_()));
    std::vector<TJournalRow> rows = Journal_.TakeUnwritten(midnight);
    TJournalSettings settings;
    bool configured = false;
    bool stopping = false;
    {
      const std::lock_guard lock(SettingsLock_);
      settings = Settings_;
      configured = Configured_;
      stopping = Stopping_;
    }
    if (configured) KeepDays(settings);
    if (settings.ToFile) {
      Write(std::move(rows));
    } else {
      Pending_.clear();
    }
    if (stopping) return;
  }
}

void TJournalWriter::KeepDays(const TJournalSettings& settings) {
  const TLocalTime today = Clock_();
  if (PurgedOn_ && SameDay(*PurgedOn_, today) && PurgedKeeping_ == settings.KeepDays) return;
  PurgedOn_ = today;
  PurgedKeeping_ = settings.KeepDays;
  DeleteOldJournalFiles(Folder_, today, settings.KeepDays);
}

// Rows that could not be written wait for the next write, as many as the journal keeps.
void TJournalWriter::Write(std::vector<TJournalRow> rows) {
  Pending_.insert(Pending_.end(), std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
  if (Pending_.size() > TSessionJournal::kCapacity)
    Pending_.erase(Pending_.begin(),
                   Pending_.begin() + static_cast<std::ptrdiff_t>(Pending_.size() -
                                                                  TSessionJournal::kCapacity));
  if (Pending_.empty()) return;
  const auto failed = AppendPending();
  if (!failed) {
    Failing_ = false;
  } else if (!Failing_) {
    Failing_ = true;
    if (Failed_) Failed_(*failed);
  }
}

std::optional<std::filesystem::path> TJournalWriter::AppendPending() {
  std::error_code error;
  std::filesystem::create_directories(Folder_, error);
  while (!Pending_.empty()) {
    const TLocalTime day = Pending_.front().Time;
    const auto end = std::find_if(Pending_.begin(), Pending_.end(),
                                  [&](const TJournalRow& row) { return !SameDay(row.Time, day); });
    const std::filesystem::path file = Folder_ / JournalFileName(day);
    std::string text;
    if (Empty(file)) text = std::string(kUtf8Bom) + CsvHeaderLine();
    for (auto row = Pending_.begin(); row != end; ++row) text += CsvLineOf(*row);
    std::ofstream stream(file, std::ios::binary | std::ios::app);
    stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    stream.close();
    if (!stream) return file;
    Pending_.erase(Pending_.begin(), end);
  }
  return std::nullopt;
}
