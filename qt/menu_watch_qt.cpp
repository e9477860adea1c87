#include "qt/menu_watch_qt.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>

#include "reader/card_typing_linux.h"

TMenuWatch::TMenuWatch() { QApplication::instance()->installEventFilter(this); }

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
