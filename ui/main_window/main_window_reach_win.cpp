// What keeps the program within the operator's reach on a real desk: the icon the shell
// refused at logon is added again, the task-bar button stays while there is no icon, a second
// start brings this copy up, a card that was not typed is told of, and the end of the session
// is never held up by a question.
#include "core/ini_file.h"
#include "core/single_copy_win.h"
#include "core/unsaved_note_win.h"
#include "reader/port_opener_win.h"
#include "ui/main_window/card_notice.h"
#include "ui/main_window/main_window_win.h"
#include "ui/shell/application_win.h"
#include "ui/shell/message_filter_win.h"
#include "ui/shell/texts.h"

// A copy started from the operator's account may run with fewer rights than this one.
void TLintavoForm::AllowRunningCopyNotice() {
  LetMessageThrough(Handle(), ShowRunningCopyMessage());
}

bool TLintavoForm::TaskbarButtonGoesNow() const {
  return TaskbarButtonGoes(NewStyleShell, TrayIcon1->IconAdded(), NoticeUnseen_);
}

void TLintavoForm::OnMinimize() { HideTaskbarButton(Application.Handle(), TaskbarButtonGoesNow()); }

void TLintavoForm::OnOpened() {
  if (!NoticeUnseen_) return;
  NoticeUnseen_ = false;
  FlashTaskbarButton(Application.Handle(), false);
}

// On every tick of the line timer: while the shell holds no icon it is asked again, and a
// minimised program keeps its task-bar button until the icon is there.
void TLintavoForm::KeepReachable() {
  TTrayIcon& icon = *TrayIcon1;
  if (TrayAddRetry_.Tick(icon.Active() && !icon.IconAdded())) icon.RefreshTrayIcon();
  FitMinimisedTaskbarButton(Application.Handle(), TaskbarButtonGoesNow());
}

void TLintavoForm::OnCardNotTyped(const TJournalRow& row) {
  MessageBeep(MB_ICONWARNING);
  const std::wstring text = NotTypedNoticeText(row);
  if (TrayIcon1->ShowBalloon(kApplicationTitle, text, row.Serial)) return;
  // No notification area to tell it in (at logon, while Explorer restarts): the number stands
  // in the main window, and its task-bar button stays and flashes until the window is opened.
  ShowNotice(text);
  NoticeSerial_ = row.Serial;
  if (IsIconic(Application.Handle()) || !IsWindowVisible(Handle())) {
    NoticeUnseen_ = true;
    FitMinimisedTaskbarButton(Application.Handle(), TaskbarButtonGoesNow());
    FlashTaskbarButton(Application.Handle(), true);
  }
}

// Windows ends the session whatever the operator would answer, and holds up the sign-out for
// a program that has not ended: nothing here shows, nothing waits on a device, and the
// placement is saved once; a failed save is told at the next start. The sender is answered
// first, then the process ends here: the reader, the port, a hanging open and an exit
// question that is open all go with it.
void TLintavoForm::OnEndSession() {
  StopLineWatch();
  CancelPortOpens();
  try {
    if (FormPlacement1->Active) FormPlacement1->SaveWindowPlacement();
  } catch (const IniWriteError& error) {
    LeaveUnsavedNote(SettingsFileName, error.Message());
  } catch (...) {
    // Nothing more can be said at the end of the session.
  }
  ReplyMessage(0);
  ExitProcess(0);
}
