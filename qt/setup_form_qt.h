// The setup dialog "Установки" of the Linux edition and the setup flow around it: the view
// page with the start-up options (and starting at login), the reader page with the reader
// type and the serial devices present, and the output page. A confirmed change of device
// reopens the port and restarts the reader.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>

#include "core/common.h"
#include "qt/port_list_qt.h"
#include "reader/dev_th_posix.h"
#include "ui/setup/device_list.h"

class TSetupForm final : public QDialog {
 public:
  static constexpr int kClientWidth = 325;
  static constexpr int kClientHeight = 280;

  TSetupForm();
  void LoadFromSettings(int page);
  void StoreToSettings();
  void FillPortList();
  void ShowDenied(bool denied);

 private:
  void BuildViewPage(QWidget* page);
  void BuildReaderPage(QWidget* page);
  void BuildOutputPage(QWidget* page);
  void BuildJournalPage(QWidget* page);
  QComboBox* AddDropDownRow(QWidget* page, int top, const wchar_t* label,
                            std::initializer_list<const wchar_t*> items);

  QTabWidget* Pages_ = nullptr;
  QCheckBox* MinimizeCB_ = nullptr;
  QCheckBox* QuestionCB_ = nullptr;
  QCheckBox* OneCopyCB_ = nullptr;
  QCheckBox* AutostartCB_ = nullptr;
  QComboBox* ReaderTypeCB_ = nullptr;
  QComboBox* FormatCB_ = nullptr;
  QComboBox* SuffixCB_ = nullptr;
  QCheckBox* JournalToFileCB_ = nullptr;
  QSpinBox* JournalDaysSE_ = nullptr;
  TPortList* CommRxCLB_ = nullptr;
  QLabel* DeniedLabel_ = nullptr;
  QWidget* PortGroup_ = nullptr;
  TDeviceRows Rows_;
};

// The dialog while ShowSetup runs, otherwise none.
extern TSetupForm* SetupForm;

// Shows the dialog on the page given (1 "Вид", 2 "Считыватель", 3 "Вывод") and stores what
// the operator confirmed; true when confirmed with "&Ввод".
bool ShowSetup(int page);

// What the setup flow needs of the main window.
class TSetupHost {
 public:
  virtual ~TSetupHost() = default;
  virtual void PortReopened(PortState state) = 0;
  virtual void UpdateStatus() = 0;
  virtual TReaderNotice ReaderNotice() const = 0;
};

// The dialog, then, for another device or one that is not open, the reader stopped, the
// port reopened and, when it opened, the reader started again. True when confirmed; the
// caller then saves the settings.
bool RunSetup(int page, TSetupHost& host);

// The name the main window shows for the configured device.
std::string ShownPortDevice();
