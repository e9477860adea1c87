// Tells the card typing while one of the program's menus is open, and closes them when a
// card comes: the open menu holds the keyboard, and a card's keys would go into it, its
// Enter choosing the highlighted item.
#pragma once

#include <QObject>
#include <set>

class TMenuWatch final : public QObject {
 public:
  // Watches every menu of the application from now on; made before the first reader starts,
  // gone after the last one ended.
  TMenuWatch();
  ~TMenuWatch() override;
  TMenuWatch(const TMenuWatch&) = delete;
  TMenuWatch& operator=(const TMenuWatch&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::set<const QObject*> Open_;
};
