// The program's main window: it opens the port when created, starts the reader at its
// first activation, shows the reader type and port state, carries the menu, the toolbar and
// the notification-area icon, and ends the program through its exit request.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "core/common.h"
#include "journal/journal_sink.h"
#include "journal/journal_writer.h"
#include "reader/dev_th_win.h"
#include "reader/line_watch.h"
#include "reader/port_opener_win.h"
#include "reader/sleep_watch.h"
#include "ui/journal/journal_window_win.h"
#include "ui/main_window/toolbar_win.h"
#include "ui/placement/form_placement_win.h"
#include "ui/shell/display_win.h"
#include "ui/shell/dpi_scale.h"
#include "ui/shell/gdi_win.h"
#include "ui/shell/window_win.h"
#include "ui/tray/app_events_win.h"
#include "ui/tray/drawn_menu_win.h"
#include "ui/tray/pic_clip_win.h"
#include "ui/tray/tray_icon_win.h"

class TLintavoForm : public TWindow<TLintavoForm> {
 public:
  static constexpr const wchar_t* kClassName = L"TLintavoForm";
  // Posted by a reader that ended on its own (its line is lost, or it failed); wParam is
  // the reader's number.
  static constexpr UINT kReaderEndedMessage = WM_APP + 2;
  // Posted from the reader thread for every card, once it is in the journal; wParam is its
  // serial there.
  static constexpr UINT kCardJournalledMessage = WM_APP + 3;
  // Posted by the port's opener when the configured port answered; wParam is the open's
  // number.
  static constexpr UINT kPortOpenedMessage = WM_APP + 4;
  // Posted by the journal's writer when writing to its file started to fail.
  static constexpr UINT kJournalWriteFailedMessage = WM_APP + 5;
  // Opens the journal window at the card of wParam once the press that asked for it is done.
  static constexpr UINT kOpenJournalMessage = WM_APP + 6;
  // The line watch's tick.
  static constexpr UINT_PTR kLineTimerId = 1;

  // Builds the window, hidden; throws std::runtime_error when the platform refuses.
  static std::unique_ptr<TLintavoForm> Create(HWND owner);
  ~TLintavoForm();
  TLintavoForm(const TLintavoForm&) = delete;
  TLintavoForm& operator=(const TLintavoForm&) = delete;

  // Shows the window for the first time, at the place it was left at the last exit.
  void Show();

  void UpdateStatus();
  // Runs whenever PortFailed may have changed: the tray icon shows the state picture.
  void UpdateTrayIcon();
  // What every "Выход" does: bring an open exit question forward, or close.
  void ExitRequest();
  // Stops the reader and opens the configured port anew on a worker; the port shows as not
  // open until the answer comes. The line watch's retry, the wake and the setup's confirm.
  void ReopenPort();
  // Where the reader posts when it ends on its own, and what hears of its every card.
  TReaderNotice ReaderNotice() {
    return {Handle(), kReaderEndedMessage, JournalSink_ ? &*JournalSink_ : nullptr};
  }

  int PortFailed = 0;
  int PortStateValue = PortMissing;
  bool FirstActivate = true;

 private:
  friend class TWindow<TLintavoForm>;
  TLintavoForm() = default;
  static void DescribeClass(WNDCLASSEXW& windowClass);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void BuildComponents();
  void BuildTrayComponents();
  void OnCreate();
  void CreateToolBar();
  void CreateLabels();
  void PlaceLabels();
  void OnDpiChanged(const TDpiChange& change);
  void ShowSmallIcon();
  void OnActivate(WPARAM wParam);
  void OnFirstActivate();
  void OnCommand(int id);
  void OnSize();
  void OnClose();
  void OnDestroy();
  bool CloseQuery();
  // Brings this copy's open exit question forward; false when none is open.
  bool BringExitQuestionForward();
  void CloseMainWindow();
  void OnGetMinMaxInfo(MINMAXINFO& info) const;
  LRESULT OnControlColour(HDC dc, HWND control);
  void RunSetupPage(int page);
  void PopupShowServerClick();
  void PopupSetupClick();

  // The line watch (main_window_line_win.cpp).
  void StartLineWatch();
  void StopLineWatch();
  void StartLineReader();
  void OnLineTimer();
  void OnReaderEnded(WPARAM number);
  void OnDeviceChange(WPARAM event, LPARAM record);
  void OnPowerBroadcast(WPARAM event);
  void Carry(TLineAction action);
  void DropLine();
  void OnPortOpened(WPARAM number);
  void PortReopened(PortState state);
  void ShowPortState(PortState state);

  // Keeping the program within the operator's reach (main_window_reach_win.cpp).
  void AllowRunningCopyNotice();
  void KeepReachable();
  void OnMinimize();
  // The operator opened the window: a notice waiting for that has been seen.
  void OnOpened();
  bool TaskbarButtonGoesNow() const;
  void OnCardNotTyped(const TJournalRow& row);
  void OnEndSession();
  // The red line under the port line: what the operator must see even without the
  // notification area. Grows the window when the line would not fit.
  void ShowNotice(const std::wstring& text);
  void PlaceNoticeLine();

  // The card journal (main_window_journal_win.cpp).
  void BuildJournal();
  // At start and once the setup was confirmed: the writer takes the settings.
  void ConfigureJournal();
  void DeleteOldFilesOnce();
  void OnCardJournalled(WPARAM serial);
  void OnJournalWriteFailed();
  // A press on the red line about a card that was not typed opens the journal at that card.
  void OnParentNotify(WPARAM wParam, LPARAM lParam);
  void ShowJournal(std::uint64_t serial = 0);

  int Dpi_ = kDesignDpi;  // of the screen the window stands on
  // The four labels in creation order: the two captions, then the two values.
  std::array<HWND, 4> Labels_{};
  HWND ReaderTypeLabel_ = nullptr;
  HWND ComPortLabel_ = nullptr;
  HWND NoticeLine_ = nullptr;  // a read-only edit, so that the number can be copied
  TUniqueMenu HelpPopupMenu_;
  TUniqueFont Font_;
  TUniqueIcon SmallIcon_;  // the title bar's, at the window's DPI
  std::unique_ptr<TToolBar> ToolBar_;
  COLORREF PortColour_ = 0;
  TLineWatch LineWatch_{false};
  TSleepWatch SleepWatch_;
  TTrayAddRetry TrayAddRetry_;
  bool NoticeUnseen_ = false;
  std::uint64_t NoticeSerial_ = 0;  // the card the red line tells of, 0: none
  std::optional<TPortOpener> PortOpener_;

  std::optional<TFormPlacementWin> FormPlacement1;
  std::optional<TDrawnPopupMenu> TrayMenu1;
  std::optional<TPicClip> PicClip1;
  std::optional<TTrayIcon> TrayIcon1;
  TAppEvents AppEvents1;

  // Where the journal's writer leaves the file it could not write, for the GUI thread.
  std::mutex FailedFileLock_;
  std::filesystem::path FailedFile_;
  std::unique_ptr<TJournalWindow> JournalWindow_;
  std::optional<TJournalSink> JournalSink_;
  // Goes first, so that its last write's news finds the slot above still there.
  std::optional<TJournalWriter> JournalWriter_;
};

// The one main window while it exists.
extern TLintavoForm* LintavoForm;
