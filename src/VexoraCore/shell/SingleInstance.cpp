#include "shell/SingleInstance.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QStandardPaths>

namespace vexora {

namespace {

constexpr int activateTimeoutMs = 800;  // a second start must end within a second

// The freedesktop application interface, so launchers and a second start can activate us.
class ApplicationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    ApplicationAdaptor(SingleInstance* owner, std::function<void()> activate)
        : QDBusAbstractAdaptor(owner), activate_(std::move(activate)) {}

public slots:
    void Activate(const QVariantMap&) { activate_(); }
    void Open(const QStringList&, const QVariantMap&) { activate_(); }
    void ActivateAction(const QString&, const QVariantList&, const QVariantMap&) { activate_(); }

private:
    std::function<void()> activate_;
};

}  // namespace

SingleInstance::SingleInstance(QString applicationId, QObject* parent)
    : QObject(parent), applicationId_(std::move(applicationId)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::objectPath(const QString& applicationId) {
    QString path = QLatin1Char('/') + applicationId;
    path.replace(QLatin1Char('.'), QLatin1Char('/')).replace(QLatin1Char('-'), QLatin1Char('_'));
    return path;
}

SingleInstance::Role SingleInstance::claim() {
    if (auto role = claimOnBus()) return *role;
    return claimLockFile() ? Role::primary : Role::secondary;
}

std::optional<SingleInstance::Role> SingleInstance::claimOnBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return std::nullopt;
    const auto reply = bus.interface()->registerService(applicationId_, QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) return std::nullopt;  // a bus that does not answer cannot keep a second start out
    if (reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        // Calls are dispatched from the event loop, which has not run since the name became ours.
        new ApplicationAdaptor(this, [this] { emit activated(); });
        bus.registerObject(objectPath(applicationId_), this, QDBusConnection::ExportAdaptors);
        return Role::primary;
    }
    QDBusMessage activate = QDBusMessage::createMethodCall(applicationId_, objectPath(applicationId_),
                                                           QStringLiteral("org.freedesktop.Application"),
                                                           QStringLiteral("Activate"));
    activate << QVariantMap();
    bus.call(activate, QDBus::Block, activateTimeoutMs);
    return Role::secondary;
}

bool SingleInstance::claimLockFile() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    lock_ = std::make_unique<QLockFile>(folder + QLatin1Char('/') + applicationId_ + QStringLiteral(".lock"));
    // A lock left by a process that died is taken over.
    return lock_->tryLock(0);
}

}  // namespace vexora

#include "SingleInstance.moc"
