// The entry of the Linux edition: the only place that wires the rooms together at start-up.
#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <exception>
#include <string>

#include "core/common.h"
#include "core/program_dir_linux.h"
#include "core/settings.h"
#include "core/settings_file_linux.h"
#include "core/single_copy_linux.h"
#include "core/utf8_text.h"
#include "qt/main_form_qt.h"
#include "qt/menu_watch_qt.h"
#include "qt/message_dialog_qt.h"
#include "qt/qt_text.h"
#include "reader/card_typing_linux.h"
#include "services/trint.h"
#include "ui/shell/texts.h"

namespace {

// The Windows program's 8-point MS Sans Serif is 11 pixels high; Liberation Sans has its
// metrics, so the designed places fit the texts.
void UseDesignedFont(QApplication& application) {
  QFont font = application.font();
  if (QFontDatabase::hasFamily("Liberation Sans")) font.setFamily("Liberation Sans");
  font.setPixelSize(11);
  application.setFont(font);
}

// Qt's own texts (the buttons of its message boxes, the context menus of its text fields)
// in Russian too, from Debian's qt6-translations-l10n.
void UseRussianQtTexts(QApplication& application, QTranslator& translator) {
  if (translator.load("qtbase_ru", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    application.installTranslator(&translator);
}

// The first copy brings its window up; this one says why it does not start.
void RefuseSecondCopy() {
  CallFirstInstance();
  const std::wstring notice =
      Translate(kApplicationTitle, 0) + L"\r" + Translate(kAlreadyRunning, 0);
  ShowMessageDialog(notice, MessageKind::Error, {MessageButton::OK}, 0);
}

// The last-chance report: what no window could report ends the program here.
int ShowApplicationError(const std::exception& error) {
  QMessageBox::critical(nullptr, "Application Error", QString::fromUtf8(error.what()));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  PrepareTyping();
  QApplication application(argc, argv);
  QApplication::setApplicationName("lintavo");
  QApplication::setDesktopFileName("lintavo");
  // The program lives on in the notification area when its window is hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  UseDesignedFont(application);
  QTranslator qtTexts;
  UseRussianQtTexts(application, qtTexts);
  const TMenuWatch menuWatch;
  NewStyleShell = true;
  ExeDir = ProgramDirectory();
  SettingsFileName = WideOfUtf8(SettingsDirectory()) + SettingsFileName;
  MakeSettingsDirectory();
  LoadSettings();

  try {
    if (Settings.RunOnlyOneCopy && !IsFirstInstance()) {
      RefuseSecondCopy();
      return 0;
    }
    TLintavoForm form;
    form.ShowFirst();
    return QApplication::exec();
  } catch (const std::exception& error) {
    return ShowApplicationError(error);
  }
}
