#include "foundation/BundleInfo.h"
#include "shell/AppcastUpdater.h"
#include "shell/VexoraUpdaterService.h"
#include "support/RecordingServer.h"

#include <QNetworkAccessManager>
#include <QTest>
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
    const QString invalid = "The update feed is not valid XML";
    const std::pair<const char*, QString> cases[] = {
        {"", invalid},
        {"<rss><channel><item>", invalid},
        {"<rss><channel></channel></rss><extra/>", invalid},
        {"<rss><channel><sparkle:version>1</sparkle:version></channel></rss>", invalid},
        {"<rss version=\"2.0\"/>", "The update feed has no channel."},
        {"<feed><channel/></feed>", "The update feed is not an RSS document."}};
    for (const auto& [xml, error] : cases) {
        try {
            AppcastFeed::parse(xml);
            ADD_FAILURE() << "accepted: " << xml;
        } catch (const AppcastError& caught) {
            EXPECT_TRUE(caught.errorDescription().startsWith(error)) << xml << ": " << caught.errorDescription().toStdString();
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

namespace {

CoreAppConfiguration testConfiguration() {
    CoreAppConfiguration configuration;
    configuration.productionBundleIdentifier = "com.vexora.ugcvolley";
    configuration.defaultAppcastURL = "https://downloads.example/appcast.xml";
    return configuration;
}

// The update service of the bundle `runAs` stands in for, its updater reading a feed over real HTTP.
class UpdaterService : public ::testing::Test {
protected:
    ~UpdaterService() override { BundleInfo::setMainForTesting(std::nullopt); }

    void runAs(QString identifier, QString shortVersion, std::optional<QString> feed) {
        BundleInfo::setMainForTesting(BundleInfo{std::move(identifier), std::move(shortVersion), std::move(feed)});
    }

    void serveFeed(int status, std::string body) {
        server.on("GET", "/appcast.xml", [status, body](const httplib::Request&, httplib::Response& response) {
            response.status = status;
            response.set_content(body, "application/rss+xml");
        });
    }
    QUrl feedURL() const { return QUrl(server.baseURL() + QStringLiteral("/appcast.xml")); }

    std::unique_ptr<VexoraUpdaterService> startService() {
        auto factory = [this](const QUrl& feed, const QString& version) {
            createdFor.emplace_back(feed, version);
            auto made = std::make_unique<AppcastUpdater>(feed, version, network);
            made->setPresenter([this](const AppcastNotice& notice) { notices.push_back(notice); });
            return made;
        };
        auto service = std::make_unique<VexoraUpdaterService>(
            testConfiguration(), [this] { return stored; },
            [this](AppUpdateState state) {
                stored = state;
                history.push_back(std::move(state));
            },
            network, factory);
        service->start();
        return service;
    }

    // Checks and returns once the state leaves "checking", with what it changed and showed.
    void checkAndSettle(VexoraUpdaterService& service) {
        history.clear();
        notices.clear();
        service.checkForUpdates();
        ASSERT_TRUE(QTest::qWaitFor([this] { return stored.status != AppUpdateStatus::checking; }, 20'000)) << "never settled";
    }

    RecordingServer server;
    QNetworkAccessManager network;
    AppUpdateState stored;
    std::vector<AppUpdateState> history;
    std::vector<std::pair<QUrl, QString>> createdFor;
    std::vector<AppcastNotice> notices;
};

}  // namespace

TEST_F(UpdaterService, QABuildWritesTheFixedStateAndNeverChecks) {
    runAs("com.vexora.ugcvolley.qa", "2.3.0", feedURL().toString());
    stored.availableVersion = "stale";
    auto service = startService();

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

TEST_F(UpdaterService, ProductionBuildReportsEachOutcomeAndKeepsAFoundUpdateThroughAFailedCheck) {
    runAs("com.vexora.ugcvolley", "2.3.0", feedURL().toString());
    serveFeed(200, feedWith(newerRelease));
    auto service = startService();

    ASSERT_EQ(createdFor.size(), 1u);
    EXPECT_EQ(createdFor[0], std::make_pair(feedURL(), QString("2.3.0")));
    EXPECT_EQ(stored.status, AppUpdateStatus::idle);
    EXPECT_EQ(stored.currentVersion, "2.3.0");
    EXPECT_EQ(stored.feedURL, feedURL().toString());
    EXPECT_TRUE(stored.canCheckForUpdates);
    EXPECT_TRUE(stored.lastCheckedAt && stored.lastCheckedAt->timeSpec() == Qt::UTC);

    checkAndSettle(*service);
    ASSERT_GE(history.size(), 3u);
    EXPECT_EQ(history[0].status, AppUpdateStatus::checking);
    EXPECT_FALSE(history[1].canCheckForUpdates);  // mirrored while the check runs
    EXPECT_EQ(stored.status, AppUpdateStatus::updateAvailable);
    EXPECT_EQ(stored.availableVersion, "2.3.1");
    EXPECT_EQ(stored.releaseNotesURL, "https://downloads.example/notes/2.3.1.html");
    EXPECT_EQ(stored.errorMessage, std::nullopt);
    EXPECT_TRUE(stored.canCheckForUpdates);
    // The user asked, so each check ends with its notice.
    EXPECT_EQ(notices, (std::vector<AppcastNotice>{{AppcastNotice::Kind::updateAvailable, "Version 2.3.1 is available.",
                                                    QUrl("https://downloads.example/VexoraUGCVolley-2.3.1.tar.gz")}}));

    serveFeed(500, "<html>down</html>");
    checkAndSettle(*service);
    EXPECT_EQ(history[0].status, AppUpdateStatus::checking);
    EXPECT_EQ(history[0].availableVersion, "2.3.1");
    EXPECT_EQ(stored.status, AppUpdateStatus::error);
    EXPECT_EQ(stored.availableVersion, "2.3.1");
    EXPECT_EQ(stored.releaseNotesURL, "https://downloads.example/notes/2.3.1.html");
    EXPECT_EQ(stored.errorMessage, "The update feed could not be loaded (HTTP 500).");
    EXPECT_TRUE(stored.canCheckForUpdates);
    EXPECT_EQ(notices, (std::vector<AppcastNotice>{{AppcastNotice::Kind::error, *stored.errorMessage, std::nullopt}}));

    // The release we run is no update, and neither is an empty feed.
    for (const std::string& items : {std::string("<item><sparkle:version>2.3.0</sparkle:version></item>"), std::string()}) {
        serveFeed(200, feedWith(items));
        checkAndSettle(*service);
        EXPECT_EQ(stored.status, AppUpdateStatus::upToDate) << items;
        EXPECT_EQ(stored.availableVersion, std::nullopt);
        EXPECT_EQ(stored.releaseNotesURL, std::nullopt);
        EXPECT_EQ(stored.errorMessage, std::nullopt);
        EXPECT_EQ(notices, (std::vector<AppcastNotice>{{AppcastNotice::Kind::upToDate, "You're up to date.", std::nullopt}}));
    }
}

// A feed must not make us open a file or run a script; relative links follow the feed.
TEST_F(UpdaterService, OnlyWebLinksAreOfferedAndRelativeOnesFollowTheFeed) {
    runAs("com.vexora.ugcvolley", "2.0", feedURL().toString());
    auto service = startService();
    serveFeed(200, feedWith(R"(<item><sparkle:version>3.0</sparkle:version>
        <sparkle:releaseNotesLink>notes/3.0.html</sparkle:releaseNotesLink>
        <enclosure url="file:///etc/passwd"/></item>)"));
    checkAndSettle(*service);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].downloadURL, QUrl(server.baseURL() + "/notes/3.0.html"));

    serveFeed(200, feedWith(R"x(<item><sparkle:version>3.0</sparkle:version><enclosure url="javascript:alert(1)"/></item>)x"));
    checkAndSettle(*service);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].downloadURL, std::nullopt);
}

TEST_F(UpdaterService, BundleWithoutShortVersionOrWebFeed) {
    runAs("com.vexora.ugcvolley", "", std::nullopt);
    auto service = startService();
    ASSERT_EQ(createdFor.size(), 1u);
    EXPECT_EQ(createdFor[0].first, QUrl(testConfiguration().appcastURL()));
    EXPECT_EQ(createdFor[0].second, "1.0.0");
    EXPECT_EQ(stored.currentVersion, "1.0.0");
    EXPECT_EQ(stored.status, AppUpdateStatus::idle);

    runAs("com.vexora.ugcvolley", "2.0", "file:///srv/appcast.xml");
    auto refused = startService();
    EXPECT_EQ(stored.status, AppUpdateStatus::error);
    EXPECT_FALSE(stored.canCheckForUpdates);
    EXPECT_TRUE(stored.errorMessage && stored.errorMessage->contains("file:///srv/appcast.xml"));
}
