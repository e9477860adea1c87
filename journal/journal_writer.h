// Keeps the journal in daily files when the operator asks for it: a thread of its own takes
// the new rows and appends them, deletes the files older than the days kept at start and at
// each midnight, and is the only one that touches the disk. A write that fails is told once
// and the rows wait in memory for the next one; the reader never waits for any of it.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/common.h"
#include "journal/session_journal.h"

// Deletes the journal's files in `folder` that are `keepDays` days or more older than
// `today`; anything else there stays. Touches the disk: never on the GUI thread.
void DeleteOldJournalFiles(const std::filesystem::path& folder, const TLocalTime& today,
                           int keepDays);

class TJournalWriter {
 public:
  // Called on the writer's thread, once when writing starts to fail (and again only after a
  // write has succeeded since), with the file that could not be written: it must only queue
  // the news.
  using TFailure = std::function<void(const std::filesystem::path& file)>;

  TJournalWriter(TSessionJournal& journal, std::filesystem::path folder, TClock clock,
                 TFailure failed);
  // Stops the thread: what it was writing is finished, what was still to come is not.
  ~TJournalWriter();
  TJournalWriter(const TJournalWriter&) = delete;
  TJournalWriter& operator=(const TJournalWriter&) = delete;

  // From the GUI thread, at start and after the setup: whether rows go to the file from now
  // on, and how many days of files are kept. Old files are deleted on the writer's thread.
  void Configure(const TJournalSettings& settings);
  const std::filesystem::path& Folder() const { return Folder_; }

 private:
  void Run();
  // Deletes the old files when the day or the days kept changed since the last time.
  void KeepDays(const TJournalSettings& settings);
  void Write(std::vector<TJournalRow> rows);
  // Appends the pending rows, file by file, dropping each file's rows once written; the file
  // that failed, if one did.
  std::optional<std::filesystem::path> AppendPending();

  TSessionJournal& Journal_;
  const std::filesystem::path Folder_;
  const TClock Clock_;
  const TFailure Failed_;
  std::mutex SettingsLock_;
  TJournalSettings Settings_;
  bool Configured_ = false;
  bool Stopping_ = false;
  // Only the writer's thread touches these.
  std::vector<TJournalRow> Pending_;
  bool Failing_ = false;
  std::optional<TLocalTime> PurgedOn_;
  int PurgedKeeping_ = 0;
  std::thread Thread_;
};
