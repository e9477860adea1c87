// What keeps the program within the operator's reach on a real desk: the icon the shell
// refused at logon is added again, the task-bar button stays while there is no icon, a second
// start brings this copy up, a card that was not typed is told of, and the end of the session
// is never held up by a question.
#include "core/single_copy_win.h"
#include "reader/card_delivery.h"
#include "reader/dev_th_win.h"
#include "reader/uart_win.h"
#include "ui/main_window/card_notice.h"
#include "ui/main_window/main_window_win.h"
#include "ui/shell/application_win.h"
#include "ui/shell/texts.h"

// A copy started from the operator's account may run with fewer rights than this one.
void TLintavoForm::AllowRunningCopyNotice() {
  ChangeWindowMessageFilterEx(Handle(), ShowRunningCopyMessage(), MSGFLT_ALLOW, nullptr);
}

void TLintavoForm::OnMinimize() {
  HideTaskbarButton(Application.Handle(), TaskbarButtonGoes(NewStyleShell, TrayIcon1->IconAdded()));
}

// On every tick of the line timer: while the shell holds no icon it is asked again, and a
// minimised program keeps its task-bar button until the icon is there.
void TLintavoForm::KeepReachable() {
  TTrayIcon& icon = *TrayIcon1;
  if (TrayAddRetry_.Tick(icon.Active() && !icon.IconAdded())) icon.RefreshTrayIcon();
  FitMinimisedTaskbarButton(Application.Handle(),
                            TaskbarButtonGoes(NewStyleShell, icon.IconAdded()));
}

void TLintavoForm::OnCardNotTyped(WPARAM wParam, LPARAM lParam) {
  const TNotTypedCard card = UnpackNotTypedCard(
      {static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam)});
  MessageBeep(MB_ICONWARNING);
  TrayIcon1->ShowBalloon(kApplicationTitle, NotTypedNoticeText(card));
}

// Windows ends the session whatever the operator would answer: the placement is kept now,
// the reader stopped and the port let go before the window goes. An exit question that is
// open ends with the session (the message dialog closes itself on it) and then finds the
// main window gone.
void TLintavoForm::OnEndSession() {
  FormPlacement1->OnCloseQuery(true);
  StopLineWatch();
  ReaderThread.Stop();
  Uart.reset();
  CloseMainWindow();
}
