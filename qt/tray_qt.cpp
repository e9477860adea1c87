#include "qt/tray_qt.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include "qt/pictures_qt.h"
#include "qt/qt_text.h"
#include "qt/texts_linux.h"
#include "ui/shell/texts.h"

namespace {

// Long enough to be read; a click on it is the way to the card.
constexpr int kBalloonMs = 15000;
// The journal has no picture of the strip's: an empty one keeps its caption in line.
constexpr int kPictureSize = 32;

QPixmap NoPicture() {
  QPixmap picture(kPictureSize, kPictureSize);
  picture.fill(Qt::transparent);
  return picture;
}

}  // namespace

TTrayIcon::TTrayIcon(const TTrayCommands& commands, const std::wstring& tip) {
  Default_ = Menu_.AddCommand(Q(kTrayShowServer), StripCell(0));
  QObject::connect(Default_, &QAction::triggered, commands.ShowServer);
  QObject::connect(Menu_.AddCommand(Q(kMenuFileJournal), NoPicture()), &QAction::triggered,
                   commands.Journal);
  QObject::connect(Menu_.AddCommand(Q(kTraySetup), StripCell(1)), &QAction::triggered,
                   commands.Setup);
  QObject::connect(Menu_.AddCommand(Q(kTrayHelp), StripCell(2)), &QAction::triggered,
                   commands.Help);
  Menu_.AddCommand({}, {});
  QObject::connect(Menu_.AddCommand(Q(kTrayExit), StripCell(3)), &QAction::triggered,
                   commands.Exit);
  Menu_.setDefaultAction(Default_);

  Icon_.setIcon(DeviceIcon());
  Icon_.setToolTip(Q(tip));
  Icon_.setContextMenu(&Menu_);
  // A host of the StatusNotifierItem protocol (KDE Plasma, Ubuntu's GNOME, Xfce, Cinnamon)
  // tells of a click, never of a double-click: there the click is the way to the window.
  const QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  const bool itemHost =
      bus != nullptr && bus->isServiceRegistered("org.kde.StatusNotifierWatcher").value();
  QObject::connect(&Icon_, &QSystemTrayIcon::activated,
                   [this, itemHost](QSystemTrayIcon::ActivationReason reason) {
                     if (reason == QSystemTrayIcon::DoubleClick ||
                         (itemHost && reason == QSystemTrayIcon::Trigger))
                       Default_->trigger();
                   });
  QObject::connect(&Icon_, &QSystemTrayIcon::messageClicked, commands.BalloonClicked);
  Icon_.show();
}

bool TTrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text) {
  if (!Available() || !QSystemTrayIcon::supportsMessages()) return false;
  Icon_.showMessage(Q(title), Q(text), QSystemTrayIcon::Warning, kBalloonMs);
  return true;
}

void TTrayIcon::ShowState(int portFailed) { Icon_.setIcon(StateIcon(portFailed)); }

bool TTrayIcon::Available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }
