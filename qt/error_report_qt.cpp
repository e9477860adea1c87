#include "qt/error_report_qt.h"

#include <QMessageBox>

#include "qt/qt_text.h"
#include "ui/shell/exception_text.h"
#include "ui/shell/texts.h"

void ShowErrorReport(const std::wstring& text) {
  QMessageBox box(QMessageBox::Critical, Q(kApplicationTitle), Q(ExceptionReportText(text)),
                  QMessageBox::Ok);
  box.exec();
}
