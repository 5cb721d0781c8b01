#include "qt/shell/status_notifier_tray.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace qfd {
namespace {

constexpr char kWatcherService[] = "org.kde.StatusNotifierWatcher";

}  // namespace

bool StatusNotifierHostPresent() {
    // One call before the first paint: the property read straight, without the introspection a
    // QDBusInterface makes; without a watcher it comes back as an error at once.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage get = QDBusMessage::createMethodCall(kWatcherService, "/StatusNotifierWatcher",
                                                      "org.freedesktop.DBus.Properties", "Get");
    get.setAutoStartService(false);  // a watcher started by the question hosts nothing yet
    get << QString::fromLatin1(kWatcherService) << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().front().value<QDBusVariant>().variant().toBool();
}

}  // namespace qfd
