#include "qt/menu_watch_qt.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>

#include "reader/card_typing_linux.h"

TMenuWatch::TMenuWatch() {
  QApplication::instance()->installEventFilter(this);
  // Called on a reader thread: the closing is queued for the GUI thread.
  SetOwnMenuCloser([this] {
    QMetaObject::invokeMethod(
        this,
        [] {
          for (QWidget* popup = QApplication::activePopupWidget(); popup != nullptr;
               popup = QApplication::activePopupWidget()) {
            if (!popup->close()) break;
          }
        },
        Qt::QueuedConnection);
  });
}

TMenuWatch::~TMenuWatch() { SetOwnMenuCloser({}); }

bool TMenuWatch::eventFilter(QObject* watched, QEvent* event) {
  const std::size_t before = Open_.size();
  if (event->type() == QEvent::Show && qobject_cast<QMenu*>(watched) != nullptr) {
    Open_.insert(watched);
  } else if (event->type() == QEvent::Hide || event->type() == QEvent::Destroy) {
    Open_.erase(watched);
  }
  if (Open_.size() != before) SetOwnMenuOpen(!Open_.empty());
  return QObject::eventFilter(watched, event);
}
