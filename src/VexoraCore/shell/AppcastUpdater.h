#pragma once

#include "foundation/DescribedError.h"

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

// One release announced by the update feed.
struct AppcastItem {
    QString version;         // machine version, compared with compareVersions
    QString displayVersion;  // what users are shown; may be empty
    std::optional<QUrl> releaseNotesURL;
    std::optional<QUrl> enclosureURL;

    bool operator==(const AppcastItem&) const = default;

    // The display version trimmed, or the version when that leaves nothing.
    QString shownVersion() const;
};

struct AppcastFeed {
    QList<AppcastItem> items;  // in feed order

    bool operator==(const AppcastFeed&) const = default;

    // The item with the highest version; the earliest of equals.
    std::optional<AppcastItem> newestItem() const;
};

// The update feed could not be read as an appcast.
class AppcastError : public DescribedError {
public:
    explicit AppcastError(QString text) : text_(std::move(text)) {}
    QString errorDescription() const override { return text_; }

private:
    QString text_;
};

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

    // Throws AppcastError on malformed XML, a root other than <rss>, or no <channel>.
    static AppcastFeed parseAppcast(const QByteArray& xml);
    // Negative, zero or positive as `a` is older than, equal to or newer than `b`.
    static int compareVersions(const QString& a, const QString& b);
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
