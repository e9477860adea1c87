// The main window's side of the card journal: each card's row arrives from the reader as its
// serial, and a card that was not typed is told in a balloon, or in the window's red line
// where no balloon can be shown; a click on either opens the journal at that card. The file
// is kept by a writer of its own, whose failure is told once in red.
#include "core/settings_file_linux.h"
#include "core/utf8_text.h"
#include "journal/journal_texts.h"
#include "qt/main_form_qt.h"
#include "ui/main_window/card_notice.h"
#include "ui/shell/texts.h"

void TLintavoForm::StartJournal() {
  JournalWriter_.emplace(Journal, JournalDirectory(), LocalNow,
                         [this](const std::filesystem::path& file) {
                           // On the writer's thread: only queued.
                           QMetaObject::invokeMethod(
                               this, [this, file] { OnJournalWriteFailed(file); },
                               Qt::QueuedConnection);
                         });
  JournalWriter_->Configure(JournalSettings);
}

void TLintavoForm::OpenJournal(std::optional<std::uint64_t> serial) {
  if (JournalWindow_ == nullptr) JournalWindow_ = new TJournalWindow(this);
  JournalWindow_->Open(serial);
}

// A modal dialog open meanwhile holds these calls back, never the rows: they are in the
// journal already, and an open journal window takes in every row it has not shown.
void TLintavoForm::OnCardJournaled(std::uint64_t serial) {
  if (JournalWindow_ != nullptr) JournalWindow_->Refresh();
  const std::optional<TJournalRow> row = Journal.Find(serial);
  if (!row || row->Outcome == TNotTyped::None) return;
  const std::wstring text = NotTypedNoticeText(*row);
  // Without an X session the window says already that no card is typed: a balloon for each
  // card would only repeat it; the last card's number stands in the red line.
  if (row->Outcome != TNotTyped::NoSession && TrayIcon1->ShowBalloon(kApplicationTitle, text)) {
    BalloonSerial_ = serial;
    return;
  }
  CardNotice_ = text;
  CardNoticeSerial_ = serial;
  ShowNotices();
}

void TLintavoForm::OnJournalWriteFailed(const std::filesystem::path& file) {
  JournalFailure_ = std::wstring(kJournalWriteFailed) + L"\n" + WideOfUtf8(file.string());
  ShowNotices();
}
