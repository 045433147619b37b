#include "shell/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#include <utility>

namespace vexora {

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString defaultAction = QStringLiteral("default");
constexpr qint32 serverChoosesTimeout = -1;

QDBusMessage serverCall(const QString& method) {
    return QDBusMessage::createMethodCall(service, objectPath, service, method);
}

}  // namespace

DesktopNotifier::DesktopNotifier(QString applicationId, QString applicationName, QString openLabel, QObject* parent)
    : QObject(parent),
      applicationId_(std::move(applicationId)),
      applicationName_(std::move(applicationName)),
      openLabel_(std::move(openLabel)) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    bus.connect(service, objectPath, service, QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint,QString)));
    bus.connect(service, objectPath, service, QStringLiteral("NotificationClosed"), this,
                SLOT(onNotificationClosed(uint,uint)));
}

DesktopNotifier::~DesktopNotifier() = default;

bool DesktopNotifier::isEnabled() const { return settings_.value(QLatin1String(enabledKey), true).toBool(); }

void DesktopNotifier::setEnabled(bool enabled) {
    settings_.setValue(QLatin1String(enabledKey), enabled);
    settings_.sync();
}

void DesktopNotifier::post(const QString& summary, const QString& body) {
    waiting_ = Notice{summary, body};
    if (!inFlight_) send();
}

void DesktopNotifier::send() {
    if (!waiting_) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        waiting_.reset();
        return;
    }
    inFlight_ = true;
    if (bodyMarkup_) return sendNotify(*std::exchange(waiting_, std::nullopt));
    // Servers that read markup would take a title's "&" or an error's "<" for it.
    auto* asked = new QDBusPendingCallWatcher(bus.asyncCall(serverCall(QStringLiteral("GetCapabilities"))), this);
    connect(asked, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answered) {
        answered->deleteLater();
        const QDBusPendingReply<QStringList> reply = *answered;
        inFlight_ = false;
        if (reply.isError()) {
            waiting_.reset();  // no server: there is nowhere to show it
            return;
        }
        bodyMarkup_ = reply.value().contains(QStringLiteral("body-markup"));
        send();
    });
}

void DesktopNotifier::sendNotify(const Notice& notice) {
    QDBusMessage notify = serverCall(QStringLiteral("Notify"));
    notify << applicationName_ << shownId_ << applicationId_ << notice.summary
           << (*bodyMarkup_ ? notice.body.toHtmlEscaped() : notice.body) << QStringList{defaultAction, openLabel_}
           << QVariantMap{{QStringLiteral("desktop-entry"), applicationId_}} << serverChoosesTimeout;
    auto* call = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, &DesktopNotifier::onNotifyAnswered);
}

void DesktopNotifier::onNotifyAnswered(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    inFlight_ = false;
    if (reply.isValid()) {
        shownId_ = reply.value();
    } else {
        // The server went away; the next one may read markup differently.
        shownId_ = 0;
        bodyMarkup_.reset();
    }
    send();
}

void DesktopNotifier::onActionInvoked(uint id, const QString& actionKey) {
    if (id == 0 || id != shownId_ || actionKey != defaultAction) return;
    if (onActivated) onActivated();
}

void DesktopNotifier::onNotificationClosed(uint id, uint) {
    if (id != 0 && id == shownId_) shownId_ = 0;
}

}  // namespace vexora
