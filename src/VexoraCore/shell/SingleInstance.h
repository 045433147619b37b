#pragma once

#include <QLockFile>
#include <QObject>
#include <QVariantMap>
#include <memory>
#include <optional>

namespace vexora {

// One running instance per user session. The first owns the application id as its name on the
// session bus and serves org.freedesktop.Application there; a later start asks it to activate
// and ends. Without a session bus a lock file in the runtime directory keeps the second out.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Role { primary, secondary };

    // What the session bus's service file starts the app with, for a launcher that activates it.
    static constexpr const char* activationArgument = "--gapplication-service";

    explicit SingleInstance(QString applicationId, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Claims the instance; when another one runs, asks it to activate.
    Role claim();

    // The object path org.freedesktop.Application uses for an id: dots become slashes.
    static QString objectPath(const QString& applicationId);

signals:
    // Another start (or a launcher) asked this instance to show itself.
    void activated();

private:
    std::optional<Role> claimOnBus();
    bool claimLockFile();

    QString applicationId_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace vexora
