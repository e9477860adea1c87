#include "qt/message_dialog_qt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <optional>

#include "qt/dialog_place_qt.h"
#include "qt/help_window_qt.h"
#include "qt/qt_text.h"
#include "qt/translatable_qt.h"
#include "services/trint.h"

namespace {

QStyle::StandardPixmap IconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning:
      return QStyle::SP_MessageBoxWarning;
    case MessageKind::Error:
      return QStyle::SP_MessageBoxCritical;
    case MessageKind::Information:
      return QStyle::SP_MessageBoxInformation;
    default:
      return QStyle::SP_MessageBoxQuestion;
  }
}

QRect RectOf(const TLayoutRect& rect) { return {rect.Left, rect.Top, rect.Width, rect.Height}; }

class TMessageForm final : public QDialog {
 public:
  TMessageForm(const std::wstring& text, MessageKind kind, MessageButtons buttons, int helpContext)
      : HelpContext_(helpContext) {
    setObjectName(kMessageFormClass);
    const TMessageKindInfo& info = KindInfo(kind);
    setWindowTitle(Q(info.Caption != nullptr ? std::wstring(info.Caption) : ApplicationTitle()));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    Build(text, info.IconId != kNoIcon, kind, buttons);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() != Qt::Key_Escape) {
      QDialog::keyPressEvent(event);
      return;
    }
    // Esc presses the cancel button; a dialog without one ignores it.
    if (Cancel_) done(*Cancel_);
  }
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    done(kClosedResult);
  }
  void reject() override { done(kClosedResult); }

 private:
  void Build(const std::wstring& text, bool hasIcon, MessageKind kind, MessageButtons buttons) {
    const QFontMetrics metrics(font());
    const int charWidth = AverageCharWidth(metrics.horizontalAdvance(Q(kAverageWidthLetters)));
    const TMessageSpacing spacing = MessageSpacing(charWidth, metrics.height());
    MeasureNewButtons(buttons, ButtonWidths, [&metrics](const wchar_t* caption) {
      return metrics.horizontalAdvance(Q(caption));
    });
    const QRect screen = QApplication::primaryScreen()->geometry();
    QString shown = Q(text);
    shown.replace(QChar('\r'), QChar('\n'));
    const QRect textRect = metrics.boundingRect(QRect(0, 0, MessageWrapWidth(screen.width()), 0),
                                                Qt::TextWordWrap | Qt::TextExpandTabs, shown);
    const TMessageLayout layout = LayoutMessageForm(
        {spacing, DialogButtonWidth(spacing.ButtonWidth, buttons, ButtonWidths), textRect.width(),
         textRect.height(), hasIcon, buttons, screen.width(), screen.height(), 0, 0});
    setFixedSize(layout.ClientWidth, layout.ClientHeight);
    CentreDialog(*this);
    if (layout.Icon) {
      auto* image = new QLabel(this);
      image->setObjectName("Image");
      image->setPixmap(style()->standardIcon(IconOf(kind)).pixmap(kIconSize, kIconSize));
      image->setGeometry(RectOf(*layout.Icon));
    }
    auto* message = new QLabel(shown, this);
    message->setObjectName("Message");
    message->setWordWrap(true);
    message->setTextFormat(Qt::PlainText);
    message->setGeometry(RectOf(layout.Label));
    const TButtonRoles roles = ChooseButtonRoles(buttons);
    for (const auto& [button, place] : layout.Buttons) AddButton(button, place, roles);
  }

  void AddButton(MessageButton button, const TLayoutRect& place, const TButtonRoles& roles) {
    const TMessageButtonInfo& info = ButtonInfo(button);
    auto* push = new QPushButton(Q(info.Caption), this);
    push->setObjectName(info.Name);
    push->setGeometry(RectOf(place));
    push->setAutoDefault(true);
    push->setDefault(roles.Default == button);
    if (roles.Cancel == button) Cancel_ = info.Result;
    const int result = info.Result;
    connect(push, &QPushButton::clicked, this, [this, result] {
      if (result == 0) {
        ShowHelpContext(HelpContext_);
        return;
      }
      done(result);
    });
    // The focus starts on the leftmost button.
    if (First_ == nullptr) First_ = push;
  }

 public:
  void FocusFirst() {
    if (First_ != nullptr) First_->setFocus();
  }

 private:
  int HelpContext_;
  std::optional<int> Cancel_;
  QPushButton* First_ = nullptr;
};

}  // namespace

int ShowMessageDialog(const std::wstring& text, MessageKind kind, MessageButtons buttons,
                      int helpContext) {
  TMessageForm form(text, kind, buttons, helpContext);
  TQtTranslatableForm translatable(form);
  TranslateForm(translatable, false);
  form.FocusFirst();
  return form.exec();
}

QWidget* FindMessageForm(const std::wstring& caption) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->objectName() == kMessageFormClass &&
        window->windowTitle() == Q(caption))
      return window;
  }
  return nullptr;
}
