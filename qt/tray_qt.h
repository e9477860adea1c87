// The notification-area icon: the reader in green or red, the program's title as its tip
// (and why nothing is typed, when that is so), the drawn menu on a right click and the
// menu's default item on a left double-click, or on a click where the host tells of no
// double-click. It tells of a card that was not typed in a balloon, and a click on the
// balloon leads to that card.
#pragma once

#include <QSystemTrayIcon>
#include <functional>
#include <string>

#include "qt/drawn_menu_qt.h"

struct TTrayCommands {
  std::function<void()> ShowServer;  // "Драйвер КС", the default item
  std::function<void()> Journal;
  std::function<void()> Setup;
  std::function<void()> Help;
  std::function<void()> Exit;
  std::function<void()> BalloonClicked;
};

class TTrayIcon final {
 public:
  TTrayIcon(const TTrayCommands& commands, const std::wstring& tip);
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // The state picture: 1 when the port is not open.
  void ShowState(int portFailed);
  bool Available() const;
  // Shows `text` in a balloon by the icon (or the desktop's notification, where the panel
  // hosts icons over D-Bus); false when there is nothing to show it in.
  bool ShowBalloon(const std::wstring& title, const std::wstring& text);

 private:
  TDrawnMenu Menu_;
  QSystemTrayIcon Icon_;
  QAction* Default_ = nullptr;
};
