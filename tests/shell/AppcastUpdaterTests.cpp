#include "foundation/BundleInfo.h"
#include "shell/AppcastUpdater.h"
#include "shell/VexoraUpdaterService.h"
#include "support/RecordingServer.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QTimer>
#include <gtest/gtest.h>
#include <httplib.h>

using namespace vexora;
using vexora::test::RecordingServer;

namespace {

std::string feedWith(const std::string& items) {
    return R"(<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle">
  <channel><title>Vexora UGC Volley</title>)" +
           items + "</channel></rss>";
}

const std::string newerRelease = R"(
  <item><title>2.3.1</title>
    <sparkle:version>2.3.1</sparkle:version>
    <sparkle:shortVersionString>  </sparkle:shortVersionString>
    <sparkle:releaseNotesLink>https://downloads.example/notes/2.3.1.html</sparkle:releaseNotesLink>
    <enclosure url="https://downloads.example/VexoraUGCVolley-2.3.1.tar.gz" length="1" type="application/gzip"/>
  </item>)";

// Runs the event loop from expect() until done(); the guard only keeps a broken test from hanging.
class Waiter {
public:
    Waiter() {
        guard_.setSingleShot(true);
        guard_.setInterval(20'000);
        QObject::connect(&guard_, &QTimer::timeout, &loop_, &QEventLoop::quit);
    }
    void expect() { pending_ = true; }
    void done() {
        if (!pending_) return;
        pending_ = false;
        loop_.quit();
    }
    void wait() {
        if (pending_) {
            guard_.start();
            loop_.exec();
            guard_.stop();
        }
        EXPECT_FALSE(pending_) << "nothing happened";
        pending_ = false;
    }

private:
    QEventLoop loop_;
    QTimer guard_;
    bool pending_ = false;
};

struct Outcome {
    enum Kind { found, notFound, error } kind;
    AppcastItem item;
    QString errorText;
};

// Records every outcome and notice of one updater.
struct UpdaterProbe : QObject {
    explicit UpdaterProbe(AppcastUpdater& updater, Waiter& waiter) : waiter(waiter) {
        connect(&updater, &AppcastUpdater::foundValidUpdate, this, [this](const AppcastItem& item) { record({Outcome::found, item, {}}); });
        connect(&updater, &AppcastUpdater::didNotFindUpdate, this, [this] { record({Outcome::notFound, {}, {}}); });
        connect(&updater, &AppcastUpdater::abortedWithError, this,
                [this](const QString& text) { record({Outcome::error, {}, text}); });
        connect(&updater, &AppcastUpdater::canCheckForUpdatesChanged, this, [this](bool can) { canCheckChanges.push_back(can); });
        updater.setPresenter([this](const AppcastNotice& notice) { notices.push_back(notice); });
    }
    void record(Outcome outcome) {
        outcomes.push_back(std::move(outcome));
        waiter.done();
    }

    Waiter& waiter;
    std::vector<Outcome> outcomes;
    std::vector<AppcastNotice> notices;
    std::vector<bool> canCheckChanges;
};

class AppcastUpdaterCheck : public ::testing::Test {
protected:
    void serveFeed(int status, std::string body) {
        server.on("GET", "/appcast.xml", [status, body](const httplib::Request&, httplib::Response& response) {
            response.status = status;
            response.set_content(body, "application/rss+xml");
        });
    }
    QUrl feedURL() const { return QUrl(server.baseURL() + QStringLiteral("/appcast.xml")); }

    // One check from a started updater at `currentVersion`; returns what it reported.
    UpdaterProbe& check(const QString& currentVersion, bool showUserInterface = true) {
        updater = std::make_unique<AppcastUpdater>(feedURL(), currentVersion, network);
        probe = std::make_unique<UpdaterProbe>(*updater, waiter);
        EXPECT_EQ(updater->start(), std::nullopt);
        waiter.expect();
        updater->checkForUpdates(showUserInterface);
        waiter.wait();
        return *probe;
    }

    RecordingServer server;
    QNetworkAccessManager network;
    Waiter waiter;
    std::unique_ptr<AppcastUpdater> updater;
    std::unique_ptr<UpdaterProbe> probe;
};

}  // namespace

TEST(AppcastParsing, ReadsSparkleVersionsFromElementsOrTheEnclosureAndPicksTheNewest) {
    const AppcastFeed feed = AppcastFeed::parse(QByteArray::fromStdString(feedWith(newerRelease + R"(
      <item><title>no version at all</title><enclosure url="https://x.example/none.tar.gz"/></item>
      <item>
        <enclosure url="https://x.example/a.tar.gz" sparkle:version="2.10.0" sparkle:shortVersionString="2.10"/>
      </item>
      <item>
        <version xmlns="http://www.andymatuschak.org/xml-namespaces/sparkle">2.9.5</version>
        <enclosure url="https://x.example/b.tar.gz" sparkle:version="9.9.9" sparkle:shortVersionString="9.9"/>
      </item>
      <item><version>7.0</version></item>)")));

    // The RSS-namespace <version> is not Sparkle's, so the last item has none and is skipped.
    ASSERT_EQ(feed.items.size(), 3);
    EXPECT_EQ(feed.items[0].shownVersion(), "2.3.1");  // a blank display version falls back
    EXPECT_EQ(feed.items[0].releaseNotesURL, QUrl("https://downloads.example/notes/2.3.1.html"));
    EXPECT_EQ(feed.items[1], (AppcastItem{"2.10.0", "2.10", std::nullopt, QUrl("https://x.example/a.tar.gz")}));
    EXPECT_EQ(feed.items[2].version, "2.9.5");
    ASSERT_TRUE(feed.newestItem());
    EXPECT_EQ(feed.newestItem()->version, "2.10.0");
    EXPECT_EQ(AppcastFeed::parse(QByteArray::fromStdString(feedWith(""))).newestItem(), std::nullopt);
}

TEST(AppcastParsing, MalformedDocumentsAndFeedsWithoutChannelRaiseReadableErrors) {
    for (const char* broken : {"", "<rss><channel><item>", "<rss><channel></channel></rss><extra/>",
                               "<rss><channel><sparkle:version>1</sparkle:version></channel></rss>"}) {
        try {
            AppcastFeed::parse(broken);
            ADD_FAILURE() << "accepted: " << broken;
        } catch (const AppcastError& error) {
            EXPECT_TRUE(error.errorDescription().startsWith("The update feed is not valid XML")) << broken;
        }
    }
    for (const char* shapeless : {"<rss version=\"2.0\"/>", "<feed><channel/></feed>"}) {
        try {
            AppcastFeed::parse(shapeless);
            ADD_FAILURE() << "accepted: " << shapeless;
        } catch (const AppcastError& error) {
            EXPECT_FALSE(error.errorDescription().isEmpty());
        }
    }
}

TEST(AppcastVersions, CompareNumericallyByPartsWithPreReleasesBeforeTheirRelease) {
    struct Case {
        const char* a;
        const char* b;
        int order;
    };
    for (const Case& c : {Case{"2.3.1", "2.3.0", 1}, Case{"1.9", "1.10", -1}, Case{"1.10", "1.9", 1},
                          Case{"2.0", "2.0.0", 0}, Case{"2.0.0.1", "2.0", 1}, Case{"3", "3", 0},
                          Case{"2.1rc1", "2.0", 1}, Case{"1.007", "1.7", 0},
                          Case{"1.99999999999999999999", "1.99999999999999999998", 1},
                          // A beta user is offered the release.
                          Case{"2.0.0-rc.1", "2.0.0", -1}, Case{"2.1b1", "2.1", -1}, Case{"2.0b", "2.0", -1},
                          Case{"2.0.0-alpha", "2.0.0-beta", -1}, Case{"2.0.0-rc.2", "2.0.0-rc.10", -1},
                          Case{"2.0.0-rc.1", "1.9", 1}, Case{"2.0.1", "2.0.0-rc1", 1}, Case{"2.0.0+42", "2.0.0", 0}}) {
        EXPECT_EQ(AppcastFeed::compareVersions(c.a, c.b), c.order) << c.a << " vs " << c.b;
        EXPECT_EQ(AppcastFeed::compareVersions(c.b, c.a), -c.order) << c.b << " vs " << c.a;
    }
}

TEST_F(AppcastUpdaterCheck, OnlyWebLinksAreOfferedAndRelativeOnesFollowTheFeed) {
    serveFeed(200, feedWith(R"(<item><sparkle:version>3.0</sparkle:version>
        <sparkle:releaseNotesLink>notes/3.0.html</sparkle:releaseNotesLink>
        <enclosure url="file:///etc/passwd"/></item>)"));
    const UpdaterProbe& result = check("2.0");
    ASSERT_EQ(result.notices.size(), 1u);
    EXPECT_EQ(result.notices[0].downloadURL, QUrl(server.baseURL() + "/notes/3.0.html"));

    serveFeed(200, feedWith(R"x(<item><sparkle:version>3.0</sparkle:version><enclosure url="javascript:alert(1)"/></item>)x"));
    const UpdaterProbe& unsafe = check("2.0");
    ASSERT_EQ(unsafe.notices.size(), 1u);
    EXPECT_EQ(unsafe.notices[0].downloadURL, std::nullopt);
}

TEST_F(AppcastUpdaterCheck, EachOutcomeIsReportedWithItsNotice) {
    serveFeed(200, feedWith(newerRelease));
    const UpdaterProbe& newer = check("2.3.0");
    ASSERT_EQ(newer.outcomes.size(), 1u);
    EXPECT_EQ(newer.outcomes[0].kind, Outcome::found);
    EXPECT_EQ(newer.canCheckChanges, (std::vector<bool>{true, false, true}));
    ASSERT_EQ(newer.notices.size(), 1u);
    EXPECT_EQ(newer.notices[0], (AppcastNotice{AppcastNotice::Kind::updateAvailable, "Version 2.3.1 is available.",
                                               QUrl("https://downloads.example/VexoraUGCVolley-2.3.1.tar.gz")}));

    const UpdaterProbe& same = check("2.3.1");
    ASSERT_EQ(same.outcomes.size(), 1u);
    EXPECT_EQ(same.outcomes[0].kind, Outcome::notFound);
    ASSERT_EQ(same.notices.size(), 1u);
    EXPECT_EQ(same.notices[0], (AppcastNotice{AppcastNotice::Kind::upToDate, "You're up to date.", std::nullopt}));
    EXPECT_TRUE(check("1.0.0", false).notices.empty()) << "no interface was asked for";

    serveFeed(500, "<html>down</html>");
    const UpdaterProbe& failed = check("1.0.0");
    ASSERT_EQ(failed.outcomes.size(), 1u);
    EXPECT_EQ(failed.outcomes[0].kind, Outcome::error);
    EXPECT_EQ(failed.outcomes[0].errorText, "The update feed could not be loaded (HTTP 500).");
    ASSERT_EQ(failed.notices.size(), 1u);
    EXPECT_EQ(failed.notices[0], (AppcastNotice{AppcastNotice::Kind::error, failed.outcomes[0].errorText, std::nullopt}));
    EXPECT_TRUE(updater->canCheckForUpdates());
}

namespace {

CoreAppConfiguration testConfiguration() {
    CoreAppConfiguration configuration;
    configuration.appName = "VexoraUGCVolley";
    configuration.productionBundleIdentifier = "com.vexora.ugcvolley";
    configuration.developmentBundleIdentifier = "com.vexora.ugcvolley.qa";
    configuration.defaultAppcastURL = "https://downloads.example/appcast.xml";
    return configuration;
}

class UpdaterService : public AppcastUpdaterCheck {
protected:
    ~UpdaterService() override { BundleInfo::setMainForTesting(std::nullopt); }

    void runAs(QString identifier, QString shortVersion, std::optional<QString> feed) {
        BundleInfo::setMainForTesting(BundleInfo{std::move(identifier), std::move(shortVersion), std::move(feed)});
    }

    std::unique_ptr<VexoraUpdaterService> makeService() {
        auto factory = [this](const QUrl& feed, const QString& version) {
            createdFor.emplace_back(feed, version);
            auto made = std::make_unique<AppcastUpdater>(feed, version, network);
            made->setPresenter([this](const AppcastNotice& notice) { notices.push_back(notice); });
            return made;
        };
        return std::make_unique<VexoraUpdaterService>(
            testConfiguration(), [this] { return stored; },
            [this](AppUpdateState state) {
                stored = state;
                history.push_back(std::move(state));
                if (stored.status != AppUpdateStatus::checking) waiter.done();
            },
            network, factory);
    }

    // Checks and returns once the state leaves "checking".
    void checkAndSettle(VexoraUpdaterService& service) {
        history.clear();
        waiter.expect();
        service.checkForUpdates();
        waiter.wait();
    }

    AppUpdateState stored;
    std::vector<AppUpdateState> history;
    std::vector<std::pair<QUrl, QString>> createdFor;
    std::vector<AppcastNotice> notices;
};

}  // namespace

TEST_F(UpdaterService, QABuildWritesTheFixedStateAndNeverChecks) {
    runAs("com.vexora.ugcvolley.qa", "2.3.0", feedURL().toString());
    stored.availableVersion = "stale";
    auto service = makeService();
    service->start();

    AppUpdateState expected;
    expected.currentVersion = "2.3.0";
    expected.errorMessage = "Updates are available only in the production build.";
    EXPECT_EQ(stored, expected);
    EXPECT_TRUE(createdFor.empty());
    EXPECT_EQ(service->updater(), nullptr);

    history.clear();
    service->checkForUpdates();
    EXPECT_TRUE(history.empty());
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(UpdaterService, ProductionBuildFindsAnUpdateAndKeepsItThroughAFailedCheck) {
    runAs("com.vexora.ugcvolley", "2.3.0", feedURL().toString());
    serveFeed(200, feedWith(newerRelease));
    auto service = makeService();
    service->start();

    ASSERT_EQ(createdFor.size(), 1u);
    EXPECT_EQ(createdFor[0], std::make_pair(feedURL(), QString("2.3.0")));
    EXPECT_EQ(stored.status, AppUpdateStatus::idle);
    EXPECT_EQ(stored.currentVersion, "2.3.0");
    EXPECT_EQ(stored.feedURL, feedURL().toString());
    EXPECT_TRUE(stored.canCheckForUpdates);
    EXPECT_TRUE(stored.lastCheckedAt && stored.lastCheckedAt->timeSpec() == Qt::UTC);
    EXPECT_EQ(stored.errorMessage, std::nullopt);
    EXPECT_EQ(actionTitle(stored), "Check for Updates...");

    checkAndSettle(*service);
    ASSERT_GE(history.size(), 3u);
    EXPECT_EQ(history[0].status, AppUpdateStatus::checking);
    EXPECT_EQ(actionTitle(history[0]), "Checking for Updates...");
    EXPECT_FALSE(history[1].canCheckForUpdates);  // mirrored while the check runs
    EXPECT_EQ(stored.status, AppUpdateStatus::updateAvailable);
    EXPECT_EQ(stored.availableVersion, "2.3.1");
    EXPECT_EQ(stored.releaseNotesURL, "https://downloads.example/notes/2.3.1.html");
    EXPECT_EQ(stored.errorMessage, std::nullopt);
    EXPECT_TRUE(stored.canCheckForUpdates);
    EXPECT_EQ(actionTitle(stored), "Install 2.3.1");
    ASSERT_EQ(notices.size(), 1u);  // the user asked, so the updater shows its notice

    serveFeed(500, "");
    checkAndSettle(*service);
    EXPECT_EQ(history[0].status, AppUpdateStatus::checking);
    EXPECT_EQ(history[0].availableVersion, "2.3.1");
    EXPECT_EQ(stored.status, AppUpdateStatus::error);
    EXPECT_EQ(stored.availableVersion, "2.3.1");
    EXPECT_EQ(stored.releaseNotesURL, "https://downloads.example/notes/2.3.1.html");
    EXPECT_EQ(stored.errorMessage, "The update feed could not be loaded (HTTP 500).");

    serveFeed(200, feedWith(""));
    checkAndSettle(*service);
    EXPECT_EQ(stored.status, AppUpdateStatus::upToDate);
    EXPECT_EQ(stored.availableVersion, std::nullopt);
    EXPECT_EQ(stored.releaseNotesURL, std::nullopt);
    EXPECT_EQ(stored.errorMessage, std::nullopt);
}

TEST_F(UpdaterService, BundleWithoutShortVersionOrWebFeed) {
    runAs("com.vexora.ugcvolley", "", std::nullopt);
    auto service = makeService();
    service->start();
    ASSERT_EQ(createdFor.size(), 1u);
    EXPECT_EQ(createdFor[0].first, QUrl(testConfiguration().appcastURL()));
    EXPECT_EQ(createdFor[0].second, "1.0.0");
    EXPECT_EQ(stored.currentVersion, "1.0.0");
    EXPECT_EQ(stored.status, AppUpdateStatus::idle);

    runAs("com.vexora.ugcvolley", "2.0", "file:///srv/appcast.xml");
    auto refused = makeService();
    refused->start();
    EXPECT_EQ(stored.status, AppUpdateStatus::error);
    EXPECT_FALSE(stored.canCheckForUpdates);
    EXPECT_TRUE(stored.errorMessage && stored.errorMessage->contains("file:///srv/appcast.xml"));
}
