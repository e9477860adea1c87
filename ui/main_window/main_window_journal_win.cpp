// The card journal in the main window: every card comes in as a row of the journal with its
// serial, posted from the reader thread; one that was not typed is told of as a notice, an open
// journal window takes the new rows, and the writer keeps them in a file when asked. The rows
// are in the journal whatever the GUI thread is doing: a modal dialog only delays the news.
#include <string>
#include <thread>

#include "journal/journal_folder.h"
#include "journal/journal_texts.h"
#include "journal/session_journal.h"
#include "ui/main_window/main_window_win.h"

// Both callbacks run on other threads and only post: the window's handle outlives neither
// the reader (stopped before the window goes) nor the writer (which goes with the window).
void TLintavoForm::BuildJournal() {
  const HWND window = Handle();
  JournalSink_.emplace(Journal, LocalNow, [window](std::uint64_t serial) {
    PostMessageW(window, kCardJournalledMessage, static_cast<WPARAM>(serial), 0);
  });
  ConfigureJournal();
  if (!JournalWriter_) DeleteOldFilesOnce();
}

// With the file off there is no writer, but the files of earlier runs still go once their
// days are over: card numbers are not kept longer than the operator said. A worker of its
// own does it and ends; nothing waits for it.
void TLintavoForm::DeleteOldFilesOnce() {
  const std::filesystem::path folder = JournalFolder();
  if (folder.empty()) return;
  std::thread([folder, keepDays = JournalSettings.KeepDays] {
    DeleteOldJournalFiles(folder, LocalNow(), keepDays);
  }).detach();
}

// The writer and its thread come with the operator's first asking for the file; until then
// nothing of the journal touches the disk. Once there it stays, and takes the settings as
// they change.
void TLintavoForm::ConfigureJournal() {
  if (!JournalWriter_ && JournalSettings.ToFile) {
    const std::filesystem::path folder = JournalFolder();
    // Without a local data folder the journal stays in memory.
    if (folder.empty()) return;
    const HWND window = Handle();
    JournalWriter_.emplace(Journal, folder, LocalNow,
                           [this, window](const std::filesystem::path& file) {
                             {
                               const std::lock_guard lock(FailedFileLock_);
                               FailedFile_ = file;
                             }
                             PostMessageW(window, kJournalWriteFailedMessage, 0, 0);
                           });
  }
  if (JournalWriter_) JournalWriter_->Configure(JournalSettings);
}

void TLintavoForm::OnCardJournalled(WPARAM serial) {
  if (JournalWindow_ && IsWindowVisible(JournalWindow_->Handle())) JournalWindow_->Refresh();
  const auto row = Journal.Find(serial);
  if (row && row->Outcome != TNotTyped::None) OnCardNotTyped(*row);
}

void TLintavoForm::OnJournalWriteFailed() {
  std::filesystem::path file;
  {
    const std::lock_guard lock(FailedFileLock_);
    file = FailedFile_;
  }
  NoticeSerial_ = 0;
  ShowNotice(std::wstring(kJournalWriteFailed) + L"\n" + file.wstring());
}

void TLintavoForm::OnParentNotify(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) != WM_LBUTTONDOWN || NoticeSerial_ == 0 || !IsWindowVisible(NoticeLine_))
    return;
  POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  // The line takes the focus with this press, which would bring the main window back in front.
  if (ChildWindowFromPointEx(Handle(), at, CWP_SKIPINVISIBLE) == NoticeLine_)
    PostMessageW(Handle(), kOpenJournalMessage, static_cast<WPARAM>(NoticeSerial_), 0);
}

void TLintavoForm::ShowJournal(std::uint64_t serial) {
  if (!JournalWindow_) {
    JournalWindow_ = TJournalWindow::Create(Handle());
    if (!JournalWindow_) return;
    const HWND journal = JournalWindow_->Handle();
    SendMessageW(journal, WM_SETICON, ICON_BIG, GetClassLongPtrW(Handle(), GCLP_HICON));
    SendMessageW(journal, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(SmallIcon_.Get()));
  }
  JournalWindow_->Open(serial);
}
