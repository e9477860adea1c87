// The main window of the Linux edition: it opens the port when built, starts the reader
// once it is first shown, shows the reader type and the port state in colour, carries the
// menus, the toolbar and the notification-area icon, watches the reader's line, and ends
// the program through its exit request.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "core/common.h"
#include "core/profile_file_posix.h"
#include "journal/journal_sink.h"
#include "journal/journal_writer.h"
#include "qt/journal_window_qt.h"
#include "qt/placement_qt.h"
#include "qt/session_end_qt.h"
#include "qt/setup_form_qt.h"
#include "qt/tool_bar_qt.h"
#include "qt/tray_qt.h"
#include "reader/dev_th_posix.h"
#include "reader/line_watch.h"

class TLintavoForm final : public QMainWindow, private TSetupHost {
 public:
  TLintavoForm();
  ~TLintavoForm() override;
  TLintavoForm(const TLintavoForm&) = delete;
  TLintavoForm& operator=(const TLintavoForm&) = delete;

  // Shows the window for the first time, at the place it was left at the last exit.
  void ShowFirst();

  void UpdateStatus() override;
  // Runs whenever PortFailed may have changed: the tray icon shows the state picture.
  void UpdateTrayIcon();
  // What every "Выход" does: bring an open exit question forward, or close.
  void ExitRequest();
  // The session ends: no question, the program ends as at its exit.
  void EndSession();
  // The port was opened anew, by the line watch or by the setup.
  void PortReopened(PortState state) override;
  TReaderNotice ReaderNotice() const override;

  int PortFailed = 0;
  int PortStateValue = PortMissing;
  bool FirstActivate = true;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildMenus();
  void BuildPanel();
  QLabel* AddLabel(int left, int top, const QString& text);
  void OnCreate();
  void OnFirstActivate();
  void RunSetupPage(int page);
  void Minimize();
  void KeepReachable();
  void PopupShowServerClick();
  void PopupSetupClick();
  bool CloseQuery();
  void CloseMainWindow();

  // The line watch (main_form_line_qt.cpp).
  void StartLineWatch();
  void StopLineWatch();
  void StartLineReader();
  void OnLineTimer();
  void OnReaderEnded(std::uint32_t number);
  void Carry(TLineAction action);
  void DropLine();
  void ReopenLine();
  void ShowPortState(PortState state);
  void ShowNotices();

  // The card journal (main_form_journal_qt.cpp).
  void StartJournal();
  void OpenJournal(std::optional<std::uint64_t> serial = std::nullopt);
  void OnCardJournaled(std::uint64_t serial);
  void OnJournalWriteFailed(const std::filesystem::path& file);

  TToolBar* ToolBar_ = nullptr;
  QMenu* HelpPopupMenu_ = nullptr;
  QLabel* ReaderTypeLabel_ = nullptr;
  QLabel* ComPortLabel_ = nullptr;
  QLabel* NoticeLabel_ = nullptr;
  // The last card that was not typed when no balloon could tell of it; a click on it opens
  // the journal there.
  QLabel* CardLabel_ = nullptr;
  std::wstring CardNotice_;
  std::uint64_t CardNoticeSerial_ = 0;
  std::uint64_t BalloonSerial_ = 0;
  std::wstring JournalFailure_;
  TJournalSink JournalSink_;
  std::optional<TJournalWriter> JournalWriter_;
  TJournalWindow* JournalWindow_ = nullptr;
  QTimer LineTimer_;
  // A hang-up ends the reader's wait at once: no tick needs to look at the device.
  TLineWatch LineWatch_{false, false};
  std::unique_ptr<QSocketNotifier> SecondCopyCalls_;
  TProfileFile PlacementStore_;
  TQtPlacementWindow PlacementWindow_{*this};
  std::optional<TFormPlacement> FormPlacement1;
  std::optional<TTrayIcon> TrayIcon1;
  bool Closing_ = false;
  bool SessionEnding_ = false;
  std::optional<TSessionEnd> SessionEnd_;
};
