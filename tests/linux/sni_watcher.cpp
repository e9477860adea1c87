// A StatusNotifierWatcher of the test's own, as KDE Plasma, Ubuntu's GNOME and Xfce run one:
// it takes the icons that register on the session bus and writes the bus name of each to
// the file named on its command line, for the test to activate it as a panel would. The file
// is made once the watcher's name is taken.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>

namespace {

constexpr char kInterface[] = "org.kde.StatusNotifierWatcher";
constexpr char kIntrospection[] = R"(<interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
</interface>
)";

class TWatcher final : public QDBusVirtualObject {
 public:
  explicit TWatcher(QString file) : File_(std::move(file)) {}

  QString introspect(const QString&) const override { return kIntrospection; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    const QVariantList arguments = message.arguments();
    if (message.member() == "Get" && arguments.size() == 2) {
      bus.send(message.createReply(
          QVariant::fromValue(QDBusVariant(Property(arguments[1].toString())))));
    } else if (message.member() == "GetAll") {
      QVariantMap all;
      for (const char* name :
           {"RegisteredStatusNotifierItems", "IsStatusNotifierHostRegistered", "ProtocolVersion"})
        all[name] = Property(name);
      bus.send(message.createReply(all));
    } else if (message.member() == "RegisterStatusNotifierItem" && arguments.size() == 1) {
      // An item may give its object path alone; its bus name is then the caller's.
      QString item = arguments[0].toString();
      if (item.startsWith('/')) item = message.service();
      Items_ << item;
      QFile out(File_);
      if (out.open(QIODevice::WriteOnly | QIODevice::Append)) out.write((item + "\n").toUtf8());
      bus.send(message.createReply());
      QDBusMessage registered = QDBusMessage::createSignal("/StatusNotifierWatcher", kInterface,
                                                           "StatusNotifierItemRegistered");
      registered << item;
      bus.send(registered);
    } else if (message.member() == "RegisterStatusNotifierHost") {
      bus.send(message.createReply());
    } else {
      return false;
    }
    return true;
  }

 private:
  QVariant Property(const QString& name) const {
    if (name == "RegisteredStatusNotifierItems") return Items_;
    if (name == "IsStatusNotifierHostRegistered") return true;
    return 0;
  }

  QString File_;
  QStringList Items_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc < 2) return 2;
  TWatcher watcher(QString::fromLocal8Bit(argv[1]));
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerVirtualObject("/StatusNotifierWatcher", &watcher) ||
      !bus.registerService(kInterface) ||
      !QFile(QString::fromLocal8Bit(argv[1])).open(QIODevice::WriteOnly))
    return 1;
  return QCoreApplication::exec();
}
