// A text field of the test's own that takes its keys through the input method (IBus, as
// GNOME and KDE run it): whatever it holds is written to the file named on its command line
// at each change, Enter as "\n" and Tab as "\t".
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 2) return 2;
  const QString path = QString::fromLocal8Bit(argv[1]);
  QPlainTextEdit field;
  field.setWindowTitle("lintavo-ibus-field");
  field.setGeometry(640, 420, 300, 120);
  QObject::connect(&field, &QPlainTextEdit::textChanged, [&] {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
      file.write(field.toPlainText().toUtf8());
  });
  field.show();
  return QApplication::exec();
}
