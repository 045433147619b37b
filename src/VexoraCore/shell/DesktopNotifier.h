#pragma once

#include <QObject>
#include <QSettings>
#include <QString>
#include <functional>
#include <optional>

class QDBusPendingCallWatcher;

namespace vexora {

// Desktop notifications through the freedesktop notification server on the session bus. A new
// one replaces the one still on screen, so a user away for several runs finds one, not a stack.
// Every call is asynchronous; without a bus or a server nothing is shown and nothing complains.
class DesktopNotifier : public QObject {
    Q_OBJECT

public:
    static constexpr const char* enabledKey = "notifyWhenVideosAreReady";

    // `applicationId` names the icon and the desktop entry; `openLabel` is the default action's.
    DesktopNotifier(QString applicationId, QString applicationName, QString openLabel, QObject* parent = nullptr);
    ~DesktopNotifier() override;

    // `body` is plain text.
    void post(const QString& summary, const QString& body);

    // The user's switch, kept in the application's settings; on until turned off.
    bool isEnabled() const;
    void setEnabled(bool enabled);

    // The user chose the notification (its default action).
    std::function<void()> onActivated;

private slots:
    void onActionInvoked(uint id, const QString& actionKey);
    void onNotificationClosed(uint id, uint reason);

private:
    struct Notice {
        QString summary;
        QString body;
    };

    void send();
    void sendNotify(const Notice& notice);
    void onNotifyAnswered(QDBusPendingCallWatcher* call);

    QString applicationId_;
    QString applicationName_;
    QString openLabel_;
    QSettings settings_;
    quint32 shownId_ = 0;  // the server's id of our notification on screen; 0 when none
    // One call at a time, so the next one knows the id to replace; only the latest waits.
    bool inFlight_ = false;
    std::optional<Notice> waiting_;
    std::optional<bool> bodyMarkup_;  // whether the server reads markup in bodies; asked once
};

}  // namespace vexora
