#include "shell/TrayPresence.h"

#include "shell/X11Desktop.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace vexora {

namespace {

constexpr int watcherTimeoutMs = 500;  // a panel that hangs must not hang us

}  // namespace

bool TrayPresence::statusNotifierHostIsRegistered() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusMessage ask = QDBusMessage::createMethodCall(watcher, QStringLiteral("/StatusNotifierWatcher"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    ask << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    ask.setAutoStartService(false);  // asking must not start a watcher that nothing hosts
    const QDBusMessage reply = bus.call(ask, QDBus::Block, watcherTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

bool TrayPresence::canShowIcon() {
    if (iconsUseStatusNotifier_) return *iconsUseStatusNotifier_ ? statusNotifierHostIsRegistered() : X11Desktop::hasXEmbedTray();
    hostWasRegistered_ = statusNotifierHostIsRegistered();
    return hostWasRegistered_ || X11Desktop::hasXEmbedTray();
}

void TrayPresence::noteIconCreated() {
    if (!iconsUseStatusNotifier_) iconsUseStatusNotifier_ = hostWasRegistered_;
}

}  // namespace vexora
