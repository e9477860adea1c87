#include "qt/setup_form_qt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "core/autostart_linux.h"
#include "core/program_dir_linux.h"
#include "core/settings_file_linux.h"
#include "core/utf8_text.h"
#include "journal/journal_texts.h"
#include "qt/dialog_place_qt.h"
#include "qt/help_window_qt.h"
#include "qt/message_dialog_qt.h"
#include "qt/qt_text.h"
#include "qt/texts_linux.h"
#include "reader/line_watch.h"
#include "reader/serial_ports_linux.h"
#include "reader/uart_device_linux.h"
#include "ui/shell/texts.h"

TSetupForm* SetupForm = nullptr;

namespace {

constexpr int kPanelHeight = 41;
constexpr int kButtonTop = 8;
constexpr int kButtonWidth = 76;
constexpr int kButtonHeight = 27;
constexpr int kCheckBoxLeft = 16;
constexpr int kCheckBoxTops[] = {56, 104, 152};
constexpr int kAutostartTop = 184;
constexpr int kCheckBoxWidth = 249;
constexpr int kCheckBoxHeight = 17;
constexpr int kRowLabelLeft = 8;
constexpr int kRowLabelDrop = 8;
constexpr int kRowDropDownLeft = 128;
constexpr int kRowDropDownWidth = 177;
constexpr int kRowTops[] = {8, 48};
constexpr int kGroupFontPixels = 12;  // 9 points
constexpr QRect kPortGroup{13, 49, 292, 152};
constexpr int kPortListMargin = 31;  // the group's title above the list and its foot below
constexpr int kJournalToFileTop = 16;
constexpr int kDaysWidth = 80;
constexpr int kOpenFolderTop = 96;
constexpr int kOpenFolderWidth = 120;

// The operator waits while the devices are looked at.
class TWaitCursor {
 public:
  TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

QCheckBox* AddCheckBox(QWidget* page, const wchar_t* text, int top) {
  auto* box = new QCheckBox(Q(text), page);
  box->setGeometry(kCheckBoxLeft, top, kCheckBoxWidth, kCheckBoxHeight);
  return box;
}

}  // namespace

std::string ShownPortDevice() {
  if (PortDevice.empty()) return Utf8OfWide(kNoPortDevice);
  return ShownPortName(PortDevice, ResolvedDevicePath(PortDevice));
}

TSetupForm::TSetupForm() {
  setObjectName("TSetupForm");
  setWindowTitle(Q(kSetupCaption));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  CentreDialog(*this);

  Pages_ = new QTabWidget(this);
  Pages_->setGeometry(0, 0, kClientWidth, kClientHeight - kPanelHeight);
  for (const wchar_t* name : {kSetupViewPage, kSetupReaderPage, kSetupOutputPage}) {
    Pages_->addTab(new QWidget(Pages_), Q(name));
  }
  BuildViewPage(Pages_->widget(kViewPageIndex));
  BuildReaderPage(Pages_->widget(kReaderPageIndex));
  BuildOutputPage(Pages_->widget(kOutputPageIndex));
  auto* journal = new QWidget(Pages_);
  Pages_->addTab(journal, Q(kJournalPage));
  BuildJournalPage(journal);

  const int buttonTop = kClientHeight - kPanelHeight + kButtonTop;
  auto* ok = new QPushButton(Q(kSetupOkButton), this);
  ok->setGeometry(76, buttonTop, kButtonWidth, kButtonHeight);
  ok->setDefault(true);
  auto* cancel = new QPushButton(Q(kSetupCancelButton), this);
  cancel->setGeometry(157, buttonTop, kButtonWidth, kButtonHeight);
  auto* help = new QPushButton(Q(kSetupHelpButton), this);
  help->setGeometry(238, buttonTop, kButtonWidth, kButtonHeight);
  help->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this,
          [this] { ShowHelpContext(HelpContextOfPage(Pages_->currentIndex())); });
}

void TSetupForm::BuildViewPage(QWidget* page) {
  MinimizeCB_ = AddCheckBox(page, kSetupMinimizeOnRun, kCheckBoxTops[0]);
  QuestionCB_ = AddCheckBox(page, kSetupCheckExit, kCheckBoxTops[1]);
  OneCopyCB_ = AddCheckBox(page, kSetupRunOnlyOneCopy, kCheckBoxTops[2]);
  AutostartCB_ = AddCheckBox(page, kSetupAutostart, kAutostartTop);
}

QComboBox* TSetupForm::AddDropDownRow(QWidget* page, int top, const wchar_t* label,
                                      std::initializer_list<const wchar_t*> items) {
  auto* text = new QLabel(Q(label), page);
  text->move(kRowLabelLeft, top + kRowLabelDrop);
  auto* dropDown = new QComboBox(page);
  dropDown->setGeometry(kRowDropDownLeft, top, kRowDropDownWidth, dropDown->sizeHint().height());
  for (const wchar_t* item : items) dropDown->addItem(Q(item));
  text->setBuddy(dropDown);
  return dropDown;
}

void TSetupForm::BuildReaderPage(QWidget* page) {
  ReaderTypeCB_ = AddDropDownRow(page, kRowTops[0], kSetupReaderTypeLabel,
                                 {kSetupReaderType26, kSetupReaderType40});
  auto* group = new QGroupBox(Q(kSetupPortGroup), page);
  group->setGeometry(kPortGroup);
  QFont groupFont = group->font();
  groupFont.setPixelSize(kGroupFontPixels);
  group->setFont(groupFont);
  CommRxCLB_ = new TPortList(group);
  CommRxCLB_->setFont(font());
  CommRxCLB_->setGeometry(8, 16, 273, kPortGroup.height() - kPortListMargin);
  PortGroup_ = group;
  DeniedLabel_ = new QLabel(Q(std::wstring(kPortDenied) + L"\n" + kPortDeniedRemedy), page);
  DeniedLabel_->setObjectName("DeniedLabel");
  DeniedLabel_->setWordWrap(true);
  DeniedLabel_->hide();
  QPalette palette = DeniedLabel_->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  DeniedLabel_->setPalette(palette);
}

void TSetupForm::BuildOutputPage(QWidget* page) {
  FormatCB_ = AddDropDownRow(page, kRowTops[0], kSetupFormatLabel,
                             {kSetupFormatItems[0], kSetupFormatItems[1], kSetupFormatItems[2]});
  SuffixCB_ = AddDropDownRow(page, kRowTops[1], kSetupSuffixLabel,
                             {kSetupSuffixItems[0], kSetupSuffixItems[1], kSetupSuffixItems[2]});
}

// The folder is made first, so that the file manager has something to show; xdg-open runs
// detached, and nothing here waits for it.
void TSetupForm::BuildJournalPage(QWidget* page) {
  JournalToFileCB_ = AddCheckBox(page, kJournalToFile, kJournalToFileTop);
  auto* label = new QLabel(Q(kJournalKeepDays), page);
  label->move(kRowLabelLeft, kRowTops[1] + kRowLabelDrop);
  JournalDaysSE_ = new QSpinBox(page);
  JournalDaysSE_->setRange(1, kMostJournalDays);
  JournalDaysSE_->setGeometry(kRowDropDownLeft, kRowTops[1], kDaysWidth,
                              JournalDaysSE_->sizeHint().height());
  label->setBuddy(JournalDaysSE_);
  auto* open = new QPushButton(Q(kJournalOpenFolder), page);
  open->setGeometry(kRowLabelLeft, kOpenFolderTop, kOpenFolderWidth, kButtonHeight);
  open->setAutoDefault(false);
  connect(open, &QPushButton::clicked, this, [] {
    const std::string folder = JournalDirectory();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
  });
}

void TSetupForm::LoadFromSettings(int page) {
  const TWaitCursor wait;
  Pages_->setCurrentIndex(PageIndexOf(page));
  MinimizeCB_->setChecked(Settings.MinimizeOnRun);
  QuestionCB_->setChecked(Settings.CheckExit);
  OneCopyCB_->setChecked(Settings.RunOnlyOneCopy);
  AutostartCB_->setChecked(AutostartEnabled());
  ReaderTypeCB_->setCurrentIndex(Settings.ReaderType);
  FormatCB_->setCurrentIndex(static_cast<int>(OutputSettings.Format));
  SuffixCB_->setCurrentIndex(static_cast<int>(OutputSettings.Suffix));
  JournalToFileCB_->setChecked(JournalSettings.ToFile);
  JournalDaysSE_->setValue(JournalSettings.KeepDays);
  FillPortList();
}

// The reader's own device is never opened here: the reader is reading it.
void TSetupForm::FillPortList() {
  const std::string resolved = ResolvedDevicePath(PortDevice);
  const std::vector<TSerialDevice> present = ListSerialDevices(resolved);
  Rows_ = BuildDeviceRows(PortDevice, ShownPortDevice(), PortIsOpen(), present);
  CommRxCLB_->SetItems(Rows_.Items);
  ShowDenied(PortDeniedToUser() || std::ranges::any_of(present, &TSerialDevice::Denied));
}

// The notice takes the foot of the port group, which the list gives up.
void TSetupForm::ShowDenied(bool denied) {
  const int room = denied ? DeniedLabel_->heightForWidth(kPortGroup.width()) : 0;
  QRect group = kPortGroup;
  group.setHeight(kPortGroup.height() - room);
  PortGroup_->setGeometry(group);
  CommRxCLB_->setFixedHeight(group.height() - kPortListMargin);
  DeniedLabel_->setGeometry(kPortGroup.left(), group.bottom() + 1, kPortGroup.width(), room);
  DeniedLabel_->setVisible(denied);
}

void TSetupForm::StoreToSettings() {
  Settings.MinimizeOnRun = MinimizeCB_->isChecked();
  Settings.CheckExit = QuestionCB_->isChecked();
  Settings.RunOnlyOneCopy = OneCopyCB_->isChecked();
  // The reader thread reads the type on every frame and the output options on every card.
  SetReaderType(ReaderTypeOfIndex(ReaderTypeCB_->currentIndex(), ReaderTypeNow()));
  Rows_.Items = CommRxCLB_->Items();
  PortDevice = CheckedDevice(Rows_);
  // Typing without a caret means nothing under X11; the file keeps what it holds.
  SetOutputSettings(OutputSettingsOfChoices(FormatCB_->currentIndex(), SuffixCB_->currentIndex(),
                                            OutputSettings.NoCaretTyping, OutputSettings));
  JournalSettings = {JournalToFileCB_->isChecked(), JournalDaysSE_->value()};
  if (AutostartCB_->isChecked() != AutostartEnabled() &&
      !SetAutostart(AutostartCB_->isChecked(), ProgramPath()))
    ShowMessageDialog(kAutostartFailed, MessageKind::Error, {MessageButton::OK}, 0);
}

bool ShowSetup(int page) {
  TSetupForm form;
  SetupForm = &form;
  bool confirmed = false;
  try {
    form.LoadFromSettings(page);
    confirmed = form.exec() == QDialog::Accepted;
    if (confirmed) form.StoreToSettings();
  } catch (...) {
    SetupForm = nullptr;
    throw;
  }
  SetupForm = nullptr;
  return confirmed;
}

bool RunSetup(int page, TSetupHost& host) {
  const std::string previous = PortDevice;
  if (!ShowSetup(page)) return false;
  if (ReopenDeviceAfterSetup(previous, PortDevice, PortIsOpen())) {
    // A port that did not open gets no reader: the main window reopens it by itself and
    // starts one then.
    host.PortReopened(ReopenPortWithReader(host.ReaderNotice()));
  }
  host.UpdateStatus();
  return true;
}
