#pragma once

#include "shell/AppcastFeed.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QCoroTask>
#include <functional>
#include <optional>
#include <stop_token>

class QNetworkAccessManager;

namespace vexora {

// What a check the user asked for ends with, as shown to them.
struct AppcastNotice {
    enum class Kind { updateAvailable, upToDate, error };
    Kind kind = Kind::upToDate;
    QString text;
    std::optional<QUrl> downloadURL;  // http or https only

    bool operator==(const AppcastNotice&) const = default;
};

// A small self-updater: fetches an RSS appcast and reports whether a newer release exists.
class AppcastUpdater : public QObject {
    Q_OBJECT
public:
    using Presenter = std::function<void(const AppcastNotice&)>;

    AppcastUpdater(QUrl feedURL, QString currentVersion, QNetworkAccessManager& network, QObject* parent = nullptr);
    ~AppcastUpdater() override;

    // A non-modal message box, parented to nothing and deleted when closed.
    static void presentDialog(const AppcastNotice& notice);

    // Makes the updater ready to check. Returns why it cannot, or none once ready.
    std::optional<QString> start();
    bool isStarted() const { return started_; }

    QUrl feedURL() const { return feedURL_; }
    QString currentVersion() const { return currentVersion_; }

    // False before start() and while a check runs.
    bool canCheckForUpdates() const { return canCheckForUpdates_; }
    Q_SIGNAL void canCheckForUpdatesChanged(bool canCheck);

    bool automaticallyChecksForUpdates() const { return automaticallyChecks_; }
    void setAutomaticallyChecksForUpdates(bool automatically) { automaticallyChecks_ = automatically; }

    // Replaces how notices are shown; the default is presentDialog.
    void setPresenter(Presenter presenter) { presenter_ = std::move(presenter); }

    // Ignored unless canCheckForUpdates(). Ends with exactly one of the three outcome signals.
    void checkForUpdates(bool showUserInterface);

    Q_SIGNAL void foundValidUpdate(const vexora::AppcastItem& item);
    Q_SIGNAL void didNotFindUpdate();
    Q_SIGNAL void abortedWithError(const QString& description);

private:
    static QCoro::Task<void> runCheck(QPointer<AppcastUpdater> self, bool showUserInterface);
    void setCanCheckForUpdates(bool canCheck);
    void finishCheck(const std::optional<AppcastItem>& update, const std::optional<QString>& failure,
                     bool showUserInterface);

    QUrl feedURL_;
    QString currentVersion_;
    QNetworkAccessManager* network_;
    Presenter presenter_;
    std::stop_source stop_;
    bool started_ = false;
    bool canCheckForUpdates_ = false;
    bool automaticallyChecks_ = false;
};

}  // namespace vexora

Q_DECLARE_METATYPE(vexora::AppcastItem)
