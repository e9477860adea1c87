#include "qt/main_form_qt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>

#include "core/settings.h"
#include "core/single_copy_linux.h"
#include "qt/about_box_qt.h"
#include "qt/error_report_qt.h"
#include "qt/help_window_qt.h"
#include "qt/message_dialog_qt.h"
#include "qt/pictures_qt.h"
#include "qt/qt_text.h"
#include "qt/theme_qt.h"
#include "qt/texts_linux.h"
#include "qt/translatable_qt.h"
#include "reader/card_typing_linux.h"
#include "reader/port_state.h"
#include "reader/uart_device_linux.h"
#include "ui/main_window/main_status.h"
#include "ui/main_window/toolbar_look.h"
#include "ui/shell/texts.h"

namespace {

// The designed 341 x 200 window less the frame a desktop draws around it.
constexpr int kDesignedLeft = 279;
constexpr int kDesignedTop = 117;
constexpr int kDesignedWidth = 333;
constexpr int kDesignedHeight = 170;
constexpr int kHelpContextMainWindow = 20;
// Between the notices and the foot of the window.
constexpr int kNoticeMargin = 2;

struct LabelPlace {
  int Left;
  int Top;  // below the toolbar
};
constexpr LabelPlace kLabel1{48, 40};
constexpr LabelPlace kLabel2{7, 64};
constexpr LabelPlace kReaderTypeLabel{150, 40};
constexpr LabelPlace kComPortLabel{150, 64};
constexpr LabelPlace kNoticeLabel{7, 88};

QColor ColourOf(Colour colour) {
  return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
          static_cast<int>((colour >> 16) & 0xFF)};
}

// Why no card is typed, and what to do about it where something can be done.
std::wstring TypingNotice() {
  switch (TypingSession) {
    case TTypingSession::Wayland:
      return std::wstring(kTypingWayland) + L"\n" + kTypingWaylandRemedy;
    case TTypingSession::NoDisplay:
      return kTypingNoDisplay;
    case TTypingSession::X11:
      break;
  }
  return {};
}

std::wstring TrayTip() {
  const std::wstring notice = TypingNotice();
  return notice.empty() ? std::wstring(kApplicationTitle)
                        : std::wstring(kApplicationTitle) + L"\n" + notice;
}

// The notices under the port, one or two lines each.
std::wstring Notices(const std::wstring& journalFailure) {
  std::wstring notices = TypingNotice();
  const auto add = [&](const std::wstring& notice) {
    if (notice.empty()) return;
    if (!notices.empty()) notices += L"\n";
    notices += notice;
  };
  if (PortDeniedToUser()) add(std::wstring(kPortDenied) + L"\n" + kPortDeniedRemedy);
  add(journalFailure);
  return notices;
}

// Shows `text` in `label` from `top` down; the height it takes.
int FitNotice(QLabel* label, const QString& text, int top) {
  label->setText(text);
  label->setVisible(!text.isEmpty());
  const int height = text.isEmpty() ? 0 : label->heightForWidth(label->width());
  label->setFixedHeight(height);
  label->move(label->x(), top);
  return height;
}

void SetLabelColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ReadableOn(palette, colour));
  label->setPalette(palette);
}

}  // namespace

TLintavoForm::TLintavoForm()
    : JournalSink_(Journal, LocalNow, [this](std::uint64_t serial) {
        // On the reader thread: only queued. A call still queued when the window goes is
        // dropped with it.
        QMetaObject::invokeMethod(
            this, [this, serial] { OnCardJournaled(serial); }, Qt::QueuedConnection);
      }) {
  setObjectName("TLintavoForm");
  setWindowTitle(Q(kApplicationTitle));
  setWindowIcon(DeviceIcon());
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setGeometry(kDesignedLeft, kDesignedTop, kDesignedWidth, kDesignedHeight);
  setMinimumSize(kDesignedWidth, kDesignedHeight);
  // At the session's end nobody is there to answer a message box, which would keep the
  // program from ending.
  FormPlacement1.emplace(PlacementWindow_, PlacementStore_, [this](const std::wstring& text) {
    if (!SessionEnding_) ShowErrorReport(text);
  });
  BuildMenus();
  BuildPanel();
  TrayIcon1.emplace(TTrayCommands{[this] { PopupShowServerClick(); },
                                  [this] { OpenJournal(); },
                                  [this] { PopupSetupClick(); },
                                  [] { ShowHelpContents(); },
                                  [this] { ExitRequest(); },
                                  [this] { OpenJournal(BalloonSerial_); }},
                    TrayTip());
  if (FirstInstanceSocket() >= 0) {
    SecondCopyCalls_ =
        std::make_unique<QSocketNotifier>(FirstInstanceSocket(), QSocketNotifier::Read);
    connect(SecondCopyCalls_.get(), &QSocketNotifier::activated, this, [this] {
      if (TakeSecondCopyCall()) PopupShowServerClick();
    });
  }
  connect(&LineTimer_, &QTimer::timeout, this, [this] { OnLineTimer(); });
  SessionEnd_.emplace([this] { EndSession(); });
  OnCreate();
}

TLintavoForm::~TLintavoForm() {
  // No reader may outlive the window it tells of its end.
  StopLineWatch();
  ReaderThread.Stop();
}

// The language choice is never offered, so its item and separator are not made at all.
void TLintavoForm::BuildMenus() {
  QMenu* file = menuBar()->addMenu(Q(kMenuFile));
  file->addAction(Q(kMenuFileJournal), this, [this] { OpenJournal(); });
  file->addSeparator();
  file->addAction(Q(kMenuFileExit), this, [this] { ExitRequest(); });
  QMenu* setup = menuBar()->addMenu(Q(kMenuSetup));
  setup->addAction(Q(kMenuSetupView), this, [this] { RunSetupPage(1); });
  setup->addSeparator();
  setup->addAction(Q(kMenuSetupReader), this, [this] { RunSetupPage(2); });
  setup->addAction(Q(kMenuSetupOutput), this, [this] { RunSetupPage(3); });
  QMenu* help = menuBar()->addMenu(Q(kMenuHelp));
  help->addAction(Q(kMenuHelpMainWindow), this, [] { ShowHelpContext(kHelpContextMainWindow); });
  help->addAction(Q(kMenuHelpContents), this, [] { ShowHelpContents(); });
  help->addSeparator();
  help->addAction(Q(kMenuHelpAbout), this, [] { ShowAbout(); });

  HelpPopupMenu_ = new QMenu(this);
  HelpPopupMenu_->addAction(Q(kMenuHelpMainWindow), this,
                            [] { ShowHelpContext(kHelpContextMainWindow); });
  HelpPopupMenu_->addAction(Q(kMenuHelpContents), this, [] { ShowHelpContents(); });
  HelpPopupMenu_->addSeparator();
  HelpPopupMenu_->addAction(Q(kMenuHelpAbout), this, [] { ShowAbout(); });
}

QLabel* TLintavoForm::AddLabel(int left, int top, const QString& text) {
  auto* label = new QLabel(text, centralWidget());
  label->move(left, kToolBarHeight + top);
  label->adjustSize();
  return label;
}

void TLintavoForm::BuildPanel() {
  auto* panel = new QWidget(this);
  setCentralWidget(panel);
  ToolBar_ = new TToolBar(panel, ToolbarPicture("wallpaper.bmp"));
  ToolBar_->AddButton(3, Q(kSetupSpeedItemCaption), Q(kSetupSpeedItemHint),
                      ToolbarPicture("glyph_setup.bmp"), [this] { RunSetupPage(1); });
  ToolBar_->AddButton(HelpButtonLeft(width()), Q(kHelpSpeedItemCaption), Q(kHelpSpeedItemHint),
                      ToolbarPicture("glyph_help.bmp"), {}, HelpPopupMenu_);
  ToolBar_->AddButton(ExitButtonLeft(width()), Q(kExitSpeedItemCaption), Q(kExitSpeedItemHint),
                      ToolbarPicture("glyph_exit.bmp"), [this] { ExitRequest(); });
  AddLabel(kLabel1.Left, kLabel1.Top, Q(kReaderTypeCaption));
  AddLabel(kLabel2.Left, kLabel2.Top, Q(kComPortCaption));
  ReaderTypeLabel_ = AddLabel(kReaderTypeLabel.Left, kReaderTypeLabel.Top, {});
  ComPortLabel_ = AddLabel(kComPortLabel.Left, kComPortLabel.Top, {});
  NoticeLabel_ = AddLabel(kNoticeLabel.Left, kNoticeLabel.Top, {});
  NoticeLabel_->setObjectName("NoticeLabel");
  NoticeLabel_->setWordWrap(true);
  NoticeLabel_->setFixedWidth(kDesignedWidth - 2 * kNoticeLabel.Left);
  SetLabelColour(NoticeLabel_, ColourOf(kPortFailedColour));
  CardLabel_ = AddLabel(kNoticeLabel.Left, kNoticeLabel.Top, {});
  CardLabel_->setObjectName("CardLabel");
  CardLabel_->setWordWrap(true);
  CardLabel_->setFixedWidth(kDesignedWidth - 2 * kNoticeLabel.Left);
  CardLabel_->setCursor(Qt::PointingHandCursor);
  CardLabel_->installEventFilter(this);
  SetLabelColour(CardLabel_, ColourOf(kPortFailedColour));
}

void TLintavoForm::OnCreate() {
  FirstActivate = true;
  PortFailed = 0;
  FormPlacement1->IniFileName = SettingsFileName;
  TQtTranslatableScreen screen;
  TranslateAllForms(screen, false);
  PortStateValue = OpenConfiguredPort();
  PortFailed = PortFailedOf(PortStateValue);
  LineWatch_ = TLineWatch(PortStateValue == PortOpen, false);
  StartJournal();
  UpdateTrayIcon();
  UpdateStatus();
}

void TLintavoForm::ShowFirst() {
  // Restored while still hidden, so the window comes up directly at its stored place.
  FormPlacement1->OnShow();
  show();
  // A window manager may give the window no activation at all (none runs in a bare X
  // session), so what the first activation does runs once the window is up.
  QTimer::singleShot(0, this, [this] { OnFirstActivate(); });
}

void TLintavoForm::OnFirstActivate() {
  if (!FirstActivate) return;
  FirstActivate = false;
  if (Settings.MinimizeOnRun) Minimize();
  // With the port not open no reader runs until the port opens, by the line watch's
  // reopen or by the setup.
  if (PortStateValue == PortOpen) StartLineReader();
  StartLineWatch();
}

void TLintavoForm::RunSetupPage(int page) {
  if (!RunSetup(page, *this)) return;
  JournalWriter_->Configure(JournalSettings);
  // The new settings stay in use for this run either way; the operator must know they
  // will be lost at the next start.
  if (!SaveSettings()) ShowErrorReport(IniWriteError(SettingsFileName).Message());
}

void TLintavoForm::UpdateStatus() {
  const MainStatus status = DescribeStatus(Settings, PortStateValue);
  ReaderTypeLabel_->setText(Q(status.ReaderType));
  ReaderTypeLabel_->adjustSize();
  ComPortLabel_->setText(QString::fromStdString(ShownPortDevice()) + " - " +
                         Q(PortStateText(PortStateValue)));
  SetLabelColour(ComPortLabel_, ColourOf(status.PortColour));
  ComPortLabel_->adjustSize();
  ShowNotices();
}

// The window grows by the notices' lines, below the designed labels; with none it may be
// made as small as designed again.
void TLintavoForm::ShowNotices() {
  const int top = kToolBarHeight + kNoticeLabel.Top;
  int noticesHeight = FitNotice(NoticeLabel_, Q(Notices(JournalFailure_)), top);
  noticesHeight += FitNotice(CardLabel_, Q(CardNotice_), top + noticesHeight);
  const int height = kDesignedHeight + (noticesHeight > 0 ? noticesHeight + kNoticeMargin : 0);
  setMinimumHeight(height);
  if (this->height() < height) resize(width(), height);
}

void TLintavoForm::UpdateTrayIcon() { TrayIcon1->ShowState(PortFailed); }

TReaderNotice TLintavoForm::ReaderNotice() const {
  auto* form = const_cast<TLintavoForm*>(this);
  // Called on the reader thread: the news is queued for the GUI thread. Every reader is
  // stopped before the window goes, so the window is there when the call arrives.
  return {[form](std::uint32_t number) {
            QMetaObject::invokeMethod(
                form, [form, number] { form->OnReaderEnded(number); }, Qt::QueuedConnection);
          },
          &form->JournalSink_};
}

// Minimised, the program lives in the notification area: the window leaves the task bar.
// Without a notification area it stays on the task bar as a minimised window.
void TLintavoForm::Minimize() {
  if (TrayIcon1->Available()) {
    hide();
  } else {
    showMinimized();
  }
}

// A window hidden in a tray that went away (the panel ended or restarted) would leave the
// operator no way to the program: it comes up.
void TLintavoForm::KeepReachable() {
  if (isHidden() && !Closing_ && !TrayIcon1->Available()) showNormal();
}

void TLintavoForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized() && TrayIcon1->Available())
    QTimer::singleShot(0, this, [this] { hide(); });
}

void TLintavoForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ToolBar_->setFixedWidth(width());
  ToolBar_->FitToWindow(frameGeometry().width());
}

void TLintavoForm::PopupShowServerClick() {
  // The window, or the dialog open in front of it, comes forward.
  if (isHidden() || isMinimized()) showNormal();
  QWidget* front = QApplication::activeModalWidget();
  if (front == nullptr) front = this;
  front->raise();
  front->activateWindow();
}

void TLintavoForm::PopupSetupClick() {
  if (SetupForm != nullptr) {
    SetupForm->raise();
    SetupForm->activateWindow();
    return;
  }
  RunSetupPage(1);
}

void TLintavoForm::ExitRequest() {
  if (QWidget* question = FindMessageForm(kCaptionExit)) {
    question->raise();
    question->activateWindow();
    return;
  }
  close();
}

bool TLintavoForm::CloseQuery() {
  if (!Settings.CheckExit) return true;
  return ShowMessageDialog(kQuestionExit, MessageKind::Exit,
                           {MessageButton::Yes, MessageButton::No}, 0) == kResultYes;
}

void TLintavoForm::closeEvent(QCloseEvent* event) {
  if (Closing_) {
    event->accept();
    return;
  }
  if (!FormPlacement1->OnCloseQuery(CloseQuery())) {
    event->ignore();
    return;
  }
  Closing_ = true;
  CloseMainWindow();
  event->accept();
}

bool TLintavoForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CardLabel_ && event->type() == QEvent::MouseButtonRelease)
    OpenJournal(CardNoticeSerial_);
  return QMainWindow::eventFilter(watched, event);
}

void TLintavoForm::EndSession() {
  SessionEnding_ = true;
  if (Closing_) return;
  FormPlacement1->OnCloseQuery(true);
  Closing_ = true;
  CloseMainWindow();
}

void TLintavoForm::CloseMainWindow() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QApplication::processEvents();
  // The line watch before the reader so that no tick starts another; the port stays open
  // until the process ends and the system lets the device go.
  StopLineWatch();
  ReaderThread.Stop();
  FormPlacement1->OnDestroy();
  QApplication::restoreOverrideCursor();
  QApplication::quit();
}
