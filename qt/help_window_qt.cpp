#include "qt/help_window_qt.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QTextBrowser>
#include <QWidget>
#include <map>

#include "core/common.h"
#include "qt/qt_text.h"
#include "qt/texts_linux.h"
#include "services/service_texts.h"

namespace {

constexpr std::int32_t kContentsTopic = 0;

struct THelpTopic {
  QString Title;
  QString Text;
};
using THelpDocument = std::map<std::int32_t, THelpTopic>;

// "[number] title" starts a topic, ';' starts a remark, every other line is text.
THelpDocument ParseHelp(const QString& source) {
  THelpDocument document;
  THelpTopic* topic = nullptr;
  for (const QString& line : source.split('\n')) {
    const QString bare = line.endsWith('\r') ? line.chopped(1) : line;
    if (bare.startsWith(';')) continue;
    const qsizetype close = bare.indexOf(']');
    bool number = false;
    const int context =
        bare.startsWith('[') && close > 1 ? bare.mid(1, close - 1).toInt(&number) : 0;
    if (number) {
      topic = &document[context];
      topic->Title = bare.mid(close + 1).trimmed();
      continue;
    }
    if (topic != nullptr) topic->Text += bare + '\n';
  }
  return document;
}

// Beside the program while it runs from its build folder, in share/ once installed.
QString DocumentPath() {
  const QString besides = Q(ExeDir) + "DOC/Lintavo.crf";
  if (QFile::exists(besides)) return besides;
  return Q(ExeDir) + "../share/lintavo/DOC/Lintavo.crf";
}

class THelpWindow final : public QWidget {
 public:
  explicit THelpWindow(THelpDocument document) : Document_(std::move(document)) {
    setWindowTitle(Q(kHelpWindowTitle));
    setObjectName("THelpWindow");
    resize(640, 420);
    auto* layout = new QHBoxLayout(this);
    Topics_ = new QListWidget(this);
    Topics_->setAccessibleName(Q(kHelpTopicsLabel));
    Topics_->setMaximumWidth(200);
    Text_ = new QTextBrowser(this);
    layout->addWidget(Topics_);
    layout->addWidget(Text_, 1);
    for (const auto& [context, topic] : Document_) {
      auto* item = new QListWidgetItem(topic.Title, Topics_);
      item->setData(Qt::UserRole, context);
    }
    connect(Topics_, &QListWidget::currentRowChanged, this, [this](int row) {
      if (row >= 0) ShowTopicText(Topics_->item(row)->data(Qt::UserRole).toInt());
    });
  }

  void ShowTopic(std::int32_t context) {
    if (!Document_.contains(context)) context = kContentsTopic;
    for (int row = 0; row < Topics_->count(); ++row) {
      if (Topics_->item(row)->data(Qt::UserRole).toInt() == context) Topics_->setCurrentRow(row);
    }
    ShowTopicText(context);
    show();
    raise();
    activateWindow();
  }

 private:
  void ShowTopicText(std::int32_t context) {
    const auto topic = Document_.find(context);
    Text_->setPlainText(topic != Document_.end() ? topic->second.Text : QString());
  }

  THelpDocument Document_;
  QListWidget* Topics_ = nullptr;
  QTextBrowser* Text_ = nullptr;
};

QPointer<THelpWindow> HelpWindow;

}  // namespace

void ShowHelpContext(std::int32_t context) {
  if (HelpWindow.isNull()) {
    QFile file(DocumentPath());
    if (!file.open(QIODevice::ReadOnly)) {
      QMessageBox::critical(QApplication::activeWindow(), Q(kHelpCaption), Q(kHelpDocumentMissing));
      return;
    }
    HelpWindow = new THelpWindow(ParseHelp(QString::fromUtf8(file.readAll())));
    HelpWindow->setAttribute(Qt::WA_DeleteOnClose);
  }
  HelpWindow->ShowTopic(context);
}

void ShowHelpContents() { ShowHelpContext(kContentsTopic); }
