// The notification-area icon: the reader in green or red, the program's title as its tip
// (and why nothing is typed, when that is so), the drawn menu on a right click and the
// menu's default item on a left double-click, or on a click where the host tells of no
// double-click.
#pragma once

#include <QSystemTrayIcon>
#include <functional>
#include <string>

#include "qt/drawn_menu_qt.h"

struct TTrayCommands {
  std::function<void()> ShowServer;  // "Драйвер КС", the default item
  std::function<void()> Setup;
  std::function<void()> Help;
  std::function<void()> Exit;
};

class TTrayIcon final {
 public:
  TTrayIcon(const TTrayCommands& commands, const std::wstring& tip);
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // The state picture: 1 when the port is not open.
  void ShowState(int portFailed);
  bool Available() const;

 private:
  TDrawnMenu Menu_;
  QSystemTrayIcon Icon_;
  QAction* Default_ = nullptr;
};
