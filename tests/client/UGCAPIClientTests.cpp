#include "client/UGCAPIClient.h"
#include "client/UGCAPIPath.h"
#include "config/UGCAppConfiguration.h"
#include "foundation/ErrorText.h"
#include "foundation/FoundationErrors.h"
#include "support/DevServer.h"
#include "support/RunSync.h"
#include "support/ScopedEnvironment.h"
#include "workflow/UGCSessionVault.h"

#include <QNetworkAccessManager>
#include <QTimeZone>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vexora;
using namespace vexora::test;

namespace {

const QString tenant = QStringLiteral("tenant-demo");

class UGCAPIClientTest : public ::testing::Test {
protected:
    DevServer server;
    ScopedEnvironment baseURL{"VEXORA_API_BASE_URL", server.baseURL().toUtf8()};
    QNetworkAccessManager network;
    UGCSessionVault vault;
    HTTPTransport transport{UGCAppConfiguration::core(), [this] { return vault.storedSession(); }, {}, network};
    UGCAPIClient client{transport};

    void SetUp() override {
        vault.replace(server.signInDemo());
        server.clearLog();
    }

    LoggedRequest onlyRequest(const std::string& path) {
        const auto logged = server.requests(path);
        EXPECT_EQ(logged.size(), 1u) << path;
        return logged.empty() ? LoggedRequest{} : logged.front();
    }

    void replyOnce(const std::string& method, const std::string& path, int status, const std::string& body,
                   int delayMilliseconds = 0) {
        server.script(method, path, Json::array({{{"status", status}, {"body", body}, {"delay_ms", delayMilliseconds}}}));
    }
};

ScheduleDraft validDraft() {
    ScheduleDraft draft;
    draft.favoriteID = QStringLiteral("fav-1");
    draft.topicSource = ScheduleTopicSource::gaps;
    draft.avatarURL = QStringLiteral("https://cdn.test/face.png");
    draft.runsPerDay = 2;
    draft.runHours = {9, 18};
    return draft;
}

}  // namespace

TEST(UGCAPIPath, EncodesQueryItemsAndSegments) {
    EXPECT_EQ(makePath("api/x", {}), "api/x");
    EXPECT_EQ(makePath("api/x", {{"tenantId", QStringLiteral("t 1")}, {"q", QStringLiteral("a&b=c+d/?é")}, {"empty", std::nullopt}}),
              "api/x?tenantId=t%201&q=a%26b%3Dc%2Bd/?%C3%A9&empty=");
    EXPECT_EQ(encodedPathSegment("render/1?x#y"), "render%2F1%3Fx%23y");
    EXPECT_EQ(encodedPathSegment("a:b@c"), "a:b@c");
}

TEST_F(UGCAPIClientTest, AuthenticatedContextIsTheFirstTenant) {
    replyOnce("GET", "/api/tenants", 200, R"({"tenants":[{"id":"first","balance_credits":250.7},{"id":"second"}]})");
    EXPECT_EQ(runSync(client.fetchAuthenticatedContext()), (AuthenticatedContext{"first", std::nullopt, std::nullopt, 250, std::nullopt}));

    replyOnce("GET", "/api/tenants", 200, R"({"tenants":[]})");
    const auto error = expectFailure<APIClientError>(client.fetchAuthenticatedContext());
    EXPECT_EQ(error, APIClientError::http(401, "No active tenant", QStringLiteral("UNAUTHENTICATED")));
    EXPECT_EQ(error.errorDescription(), "No active tenant");
}

TEST_F(UGCAPIClientTest, ContextBundleRequestsRunTogether) {
    server.configure({{"latency_ms", 150}});
    const UGCContextBundle bundle = runSync(client.fetchContextBundle(tenant));

    const auto logged = server.requests("/api/");
    ASSERT_EQ(logged.size(), 6u);
    double latestStart = 0, earliestEnd = 1e300;
    for (const auto& request : logged) {
        EXPECT_EQ(request.query.rfind("tenantId=tenant-demo", 0), 0u) << request.path;
        latestStart = std::max(latestStart, request.startedAt);
        earliestEnd = std::min(earliestEnd, request.endedAt);
    }
    EXPECT_LT(latestStart, earliestEnd) << "all six were in flight at one moment";

    EXPECT_GT(bundle.balanceCredits, 0);
    EXPECT_FALSE(bundle.favorites.isEmpty());
    EXPECT_FALSE(bundle.products.isEmpty());
    EXPECT_EQ(bundle.history.items.size(), 50);
    EXPECT_TRUE(bundle.history.hasMore);
    EXPECT_TRUE(bundle.schedules.featureEnabled);
}

TEST_F(UGCAPIClientTest, ContextBundleFailsWithTheFirstFailureInAwaitOrderAndStopsWithItsCaller) {
    replyOnce("GET", "/api/ai-insights/favorites", 500, R"({"error":"favorites down"})", 300);
    replyOnce("GET", "/api/dashboard/products", 502, R"({"error":"products down"})");
    replyOnce("GET", "/api/social-accounts", 200, R"({"accounts":[]})", 8000);
    const auto error = expectFailure<APIClientError>(client.fetchContextBundle(tenant));
    EXPECT_EQ(error.message(), "favorites down") << "favorites come before products, although products failed first";
    // The slow reply is still being made when the load has already failed.
    const double failedAt = currentEpochSeconds();
    for (const auto& accounts : server.requests("/api/social-accounts")) EXPECT_GT(accounts.endedAt, failedAt);

    server.configure({{"latency_ms", 5000}});
    std::stop_source stop;
    QTimer::singleShot(100, [&stop] { stop.request_stop(); });
    EXPECT_TRUE(isCancellationLike(failureOf(client.fetchContextBundle(tenant, stop.get_token()))));
}

TEST_F(UGCAPIClientTest, ContextRepliesDecodeTolerantly) {
    replyOnce("GET", "/api/dashboard/products", 200, R"({"documents":[{"id":"d1","file_name":"guide.pdf"},{"id":"d2"}]})");
    replyOnce("GET", "/api/social-accounts", 200,
              R"({"accounts":[{"id":"a","platform":"tiktok","account_id":"x","is_active":true},)"
              R"({"id":"b","platform":"tiktok","account_id":"y","is_active":false},)"
              R"({"id":"c","platform":"instagram","account_id":"z","account_name":"","is_active":true}],)"
              R"("connectionLocks":{"tiktok":true,"instagram":{"disabled":true,"message":"Reconnect"}}})");
    const UGCContextBundle bundle = runSync(client.fetchContextBundle(tenant));
    ASSERT_EQ(bundle.products.size(), 2);
    EXPECT_EQ(bundle.products[0].name, "guide.pdf");
    EXPECT_EQ(bundle.products[1].name, "d2");
    ASSERT_EQ(bundle.socialAccounts.size(), 2);
    EXPECT_EQ(bundle.socialAccounts[1].id, "c");
    EXPECT_EQ(bundle.socialAccounts[1].displayName(), "z") << "an empty name is no name";
    EXPECT_TRUE(bundle.connectionLocks.isLocked(UGCPlatform::tiktok));
    EXPECT_EQ(bundle.connectionLocks.tiktok->message, std::nullopt);
    EXPECT_EQ(bundle.connectionLocks.instagram->message, QStringLiteral("Reconnect"));

    const std::pair<std::string, std::int64_t> usages[] = {{R"({"credits":10,"available_credits":7})", 7},
        {R"({"balance":{"credits":3.5}})", 3}, {"{}", 0}, {R"({"credits":1e300})", INT64_MAX}, {R"({"balance_credits":-2.9})", -2}};
    for (const auto& [usage, credits] : usages) {
        replyOnce("GET", "/api/ai-insights/usage/stats", 200, usage);
        EXPECT_EQ(runSync(client.fetchContextBundle(tenant)).balanceCredits, credits) << usage;
    }
    replyOnce("GET", "/api/social-accounts", 200, R"({"accounts":[],"connectionLocks":{"tiktok":{"message":"only"}}})");
    EXPECT_EQ(expectFailure<DecodingError>(client.fetchContextBundle(tenant)).path(), "connectionLocks.tiktok.disabled");
    replyOnce("GET", "/api/dashboard/products", 200, "{}");
    EXPECT_TRUE(runSync(client.fetchContextBundle(tenant)).products.isEmpty());
    replyOnce("GET", "/api/dashboard/products", 200, "[]");
    EXPECT_EQ(expectFailure<DecodingError>(client.fetchContextBundle(tenant)).path(), "") << "no partial bundle";
}

TEST_F(UGCAPIClientTest, SuggestionPagingAndPollPaths) {
    runSync(client.suggestTopics(tenant, QString()));
    runSync(client.suggestTopics(tenant, QStringLiteral("a&b=c")));
    runSync(client.suggestKnowledge(tenant, QStringLiteral("fav-1")));
    runSync(client.fetchHistory(tenant, QString()));
    runSync(client.fetchAvatars(tenant, QStringLiteral("avatar-050")));
    const auto topics = server.requests("/api/dashboard/shorts/suggest-topics");
    ASSERT_EQ(topics.size(), 2u);
    EXPECT_EQ(topics[0].query, "tenantId=tenant-demo&limit=5");
    EXPECT_EQ(topics[1].query, "tenantId=tenant-demo&limit=5&favoriteId=a%26b%3Dc");
    EXPECT_EQ(onlyRequest("/api/dashboard/shorts/suggest-knowledge").query, "tenantId=tenant-demo&limit=5&favoriteId=fav-1");
    EXPECT_EQ(onlyRequest("/api/dashboard/shorts/history").query, "tenantId=tenant-demo&limit=50");
    EXPECT_EQ(onlyRequest("/api/dashboard/shorts/avatars").query, "tenantId=tenant-demo&limit=50&before=avatar-050");

    replyOnce("GET", "/api/dashboard/shorts/suggest-topics", 200, R"({"suggestions":[{"source":"s","topic":"T"}]})");
    const auto first = runSync(client.suggestTopics(tenant, std::nullopt)).suggestions.at(0);
    EXPECT_TRUE(first.id().startsWith("T-"));
    replyOnce("GET", "/api/dashboard/shorts/suggest-topics", 200, R"({"suggestions":[{"source":"s","topic":"T"}]})");
    EXPECT_NE(runSync(client.suggestTopics(tenant, std::nullopt)).suggestions.at(0).id(), first.id());

    replyOnce("GET", "/api/dashboard/shorts/render%2F7", 200, R"({"status":"processing"})");
    EXPECT_EQ(runSync(client.pollVideo("render/7", tenant)).status, "processing");
    EXPECT_EQ(onlyRequest("/api/dashboard/shorts/render%2F7").query, "tenantId=tenant-demo");
}

TEST_F(UGCAPIClientTest, AScriptWithoutSourcesOmitsTheirKeys) {
    runSync(client.createScript({tenant, "Summer sale", std::nullopt, std::nullopt, std::nullopt, "short", 10, "hook", "en"}));
    const Json scriptBody = Json::parse(onlyRequest("/api/dashboard/shorts/script").body);
    for (const char* omitted : {"product_id", "favorite_id", "gap_id"}) EXPECT_FALSE(scriptBody.contains(omitted)) << omitted;
    EXPECT_EQ(scriptBody.at("requested_duration_seconds"), 10);
}

TEST_F(UGCAPIClientTest, SchedulesFeatureDetection) {
    replyOnce("GET", "/api/dashboard/shorts/schedules", 404, R"({"error":"Not Found","message":"Not Found","code":"NotFound"})");
    EXPECT_FALSE(runSync(client.fetchSchedules(tenant, std::nullopt)).featureEnabled);
    replyOnce("GET", "/api/dashboard/shorts/schedules", 404, R"({"message":"No such route","code":"NotFound"})");
    EXPECT_EQ(expectFailure<APIClientError>(client.fetchSchedules(tenant, std::nullopt)).statusCode(), 404);
    replyOnce("GET", "/api/dashboard/shorts/schedules", 404, R"({"message":"Not Found"})");
    expectFailure<APIClientError>(client.fetchSchedules(tenant, std::nullopt));
    server.configure({{"schedules_enabled", false}});
    EXPECT_EQ(runSync(client.fetchSchedules(tenant, std::nullopt)), ScheduleListState::disabled());
}

TEST_F(UGCAPIClientTest, ScheduleLifecycle) {
    ScheduleDraft invalid = validDraft();
    invalid.runHours = {9};
    EXPECT_EQ(expectFailure<APIClientError>(client.createSchedule(tenant, invalid, UGCDuration::ten, "en")),
              APIClientError::invalidResponse());
    EXPECT_TRUE(server.requests("/api/").empty()) << "an invalid draft sends nothing";

    runSync(client.createSchedule(tenant, validDraft(), UGCDuration::fifteen, "de"));
    const auto created = onlyRequest("/api/dashboard/shorts/schedules");
    EXPECT_EQ(created.query, "tenantId=tenant-demo");
    Json body = Json::parse(created.body);
    EXPECT_EQ(body.at("timezone"), QTimeZone::systemTimeZoneId().toStdString());
    body.erase("timezone");
    EXPECT_EQ(body, Json::parse(R"({"favorite_id": "fav-1", "name": "UGC Schedule", "runs_per_day": 2, "run_hours": [9, 18],
                                    "topic_source": "gap", "default_duration": 15, "default_language": "de",
                                    "default_avatar_random": false, "default_avatar_config": {"avatar_url": "https://cdn.test/face.png"},
                                    "auto_publish": false, "is_enabled": true})"));
    ScheduleDraft knowledge = validDraft();
    knowledge.topicSource = ScheduleTopicSource::knowledge;
    knowledge.defaultTopic = QStringLiteral(" launch ");
    server.clearLog();
    runSync(client.createSchedule(tenant, knowledge, UGCDuration::five, "fr"));
    body = Json::parse(onlyRequest("/api/dashboard/shorts/schedules").body);
    EXPECT_EQ(body.at("topic_source"), "knowledge");
    EXPECT_EQ(body.at("default_topic"), " launch ") << "sent as typed";

    const ScheduleListState listed = runSync(client.fetchSchedules(tenant, std::nullopt));
    ASSERT_FALSE(listed.schedules.isEmpty());
    const QString id = listed.schedules.first().id;
    server.clearLog();
    EXPECT_TRUE(runSync(client.updateSchedule(tenant, id, true)).isPaused);
    EXPECT_FALSE(runSync(client.updateSchedule(tenant, id, false)).isPaused);
    const auto updates = server.requests("/api/dashboard/shorts/schedules/");
    ASSERT_EQ(updates.size(), 2u);
    EXPECT_EQ(Json::parse(updates[0].body), (Json{{"is_enabled", false}, {"pause_reason", "manual"}}));
    EXPECT_EQ(Json::parse(updates[1].body), (Json{{"is_enabled", true}}));

    replyOnce("PATCH", "/api/dashboard/shorts/schedules/" + id.toStdString(), 200, R"({"success":true})");
    EXPECT_EQ(expectFailure<APIClientError>(client.updateSchedule(tenant, id, true)), APIClientError::invalidResponse());

    replyOnce("DELETE", "/api/dashboard/shorts/schedules/" + id.toStdString(), 200, "[1,2]");
    expectFailure<DecodingError>(client.deleteSchedule(tenant, id));
    replyOnce("DELETE", "/api/dashboard/shorts/schedules/" + id.toStdString(), 200, "");
    runSync(client.deleteSchedule(tenant, id));
    runSync(client.deleteSchedule(tenant, id));  // the devserver's own 204
}
