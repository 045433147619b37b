#include "foundation/ErrorText.h"
#include "foundation/FoundationErrors.h"
#include "foundation/JSONValue.h"
#include "foundation/NetworkCall.h"
#include "support/RunSync.h"
#include "support/ServiceFixture.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>

using namespace vexora;
using namespace vexora::test;

namespace {

struct Named {
    QString name;
    static Named fromJson(const JsonReader& reader) { return Named{reader.requiredString("name")}; }
};

class HTTPTransportTest : public ServiceFixture {
protected:
    QCoro::Task<JSONValue> get(QString path, bool authenticated = true) {
        return transport.request<JSONValue>(std::move(path), "GET", std::nullopt, authenticated);
    }
};

}  // namespace

TEST_F(HTTPTransportTest, StampsHeadersAndSendsBodiesOnlyWhenGiven) {
    server.onJSON("GET", "/api/tenants", 200, R"({"ok":true})");
    server.onJSON("POST", "/api/things", 200, R"({"name":"made"})");
    vault.replace(sessionExpiringIn(3600, "live-token"));

    runSync(get("api/tenants?tenantId=t1"));
    runSync(get("api/tenants", false));
    const Named made = runSync(transport.request<Named>("api/things", "POST", Json{{"title", "x"}}, true));
    EXPECT_EQ(made.name, "made");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    const QRegularExpression upperUUID("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");
    for (const auto& request : requests) {
        EXPECT_EQ(request.header("x-client"), "macos-ugc-volley");
        EXPECT_TRUE(upperUUID.match(QString::fromStdString(request.header("x-request-id"))).hasMatch());
    }
    EXPECT_NE(requests[0].header("x-request-id"), requests[1].header("x-request-id"));
    EXPECT_EQ(requests[0].path, "/api/tenants?tenantId=t1");
    EXPECT_EQ(requests[0].header("authorization"), "Bearer live-token");
    EXPECT_FALSE(requests[0].hasHeader("content-type"));
    EXPECT_FALSE(requests[1].hasHeader("authorization"));
    EXPECT_EQ(requests[2].header("content-type"), "application/json");
    EXPECT_EQ(Json::parse(requests[2].body), (Json{{"title", "x"}}));
}

TEST_F(HTTPTransportTest, PathsOutsideTheServiceOrNoUsableSessionSendNothing) {
    EXPECT_EQ(expectFailure<APIClientError>(get("api/tenants")), APIClientError::missingSession());
    UGCSessionVault expiringVault;
    expiringVault.replace(sessionExpiringIn(5));
    HTTPTransport cannotRefresh(UGCAppConfiguration::core(), [&] { return expiringVault.storedSession(); }, {}, network);
    EXPECT_EQ(expectFailure<APIClientError>(cannotRefresh.request<JSONValue>("api/tenants", "GET", std::nullopt, true)),
              APIClientError::missingSession());

    vault.replace(sessionExpiringIn(10));  // would need a refresh, which must not happen either
    serveRefresh("new");
    for (const QString& path : {QStringLiteral("https://evil.test/api/tenants"), QStringLiteral("//evil.test/api"),
                                server.baseURL() + QStringLiteral("/api/tenants"), QStringLiteral("mailto:x@y.z")}) {
        EXPECT_EQ(expectFailure<APIClientError>(get(path)), APIClientError::unsupportedURL()) << path.toStdString();
    }
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(HTTPTransportTest, RefreshesOnlyWithinThirtySecondsOfExpiryAndAFailedRefreshDoesNotPoisonTheNext) {
    server.onJSON("GET", "/api/tenants", 200, "{}");
    server.onJSON("POST", "/api/auth/refresh", 503, R"({"error":"refresh is down"})");
    vault.replace(sessionExpiringIn(31, "still-good"));
    runSync(get("api/tenants"));
    EXPECT_TRUE(server.requestsTo("/api/auth/refresh").empty());
    EXPECT_EQ(server.requestsTo("/api/tenants").back().header("authorization"), "Bearer still-good");

    vault.replace(sessionExpiringIn(29, "almost-gone"));
    const auto failure = expectFailure<APIClientError>(get("api/tenants"));
    EXPECT_EQ(failure.statusCode(), 503);
    EXPECT_EQ(failure.message(), "refresh is down");
    EXPECT_EQ(server.requestsTo("/api/tenants").size(), 1u) << "the request is not sent after a failed refresh";
    EXPECT_EQ(vault.storedSession()->accessToken, "almost-gone");

    serveRefresh("fresh-token");
    runSync(get("api/tenants"));
    const auto refreshes = server.requestsTo("/api/auth/refresh");
    ASSERT_EQ(refreshes.size(), 2u);
    EXPECT_EQ(Json::parse(refreshes[1].body), (Json{{"refresh_token", "refresh-1"}, {"method", "macos_menu_bar"}}));
    EXPECT_EQ(server.requestsTo("/api/tenants").back().header("authorization"), "Bearer fresh-token");
    EXPECT_EQ(vault.storedSession()->accessToken, "fresh-token");
}

TEST_F(HTTPTransportTest, ConcurrentRequestsShareOneRefresh) {
    server.onJSON("GET", "/api/tenants", 200, "{}");
    serveRefresh("shared-token", std::chrono::milliseconds(300));
    vault.replace(sessionExpiringIn(0));

    std::vector<QCoro::Task<JSONValue>> running;
    for (int i = 0; i < 10; ++i) running.push_back(get("api/tenants"));
    runSync([](std::vector<QCoro::Task<JSONValue>> tasks) -> QCoro::Task<void> {
        for (auto& task : tasks) co_await std::move(task);
    }(std::move(running)));

    EXPECT_EQ(server.requestsTo("/api/auth/refresh").size(), 1u);
    const auto requests = server.requestsTo("/api/tenants");
    ASSERT_EQ(requests.size(), 10u);
    for (const auto& request : requests) EXPECT_EQ(request.header("authorization"), "Bearer shared-token");
}

TEST_F(HTTPTransportTest, MapsErrorBodiesAndPassesNetworkFailuresThrough) {
    vault.replace(sessionExpiringIn(3600));
    struct Case {
        std::string body;
        QString message;
        std::optional<QString> code;
    };
    const Case cases[] = {
        {R"({"error":"forbidden"})", "forbidden", QStringLiteral("forbidden")},
        {R"({"error":"e","message":"Readable","code":"c1"})", "Readable", QStringLiteral("c1")},
        {R"({"message":"Only message"})", "Only message", std::nullopt},
        {R"({"error":"e","code":42})", "Request failed", std::nullopt},
        {R"(["error"])", "Request failed", std::nullopt},
    };
    for (const Case& item : cases) {
        server.on("GET", "/api/fail", [&item](const httplib::Request&, httplib::Response& response) {
            response.status = 403;
            response.set_header("x-request-id", "abc");
            response.set_content(item.body, "application/json");
        });
        const auto error = expectFailure<APIClientError>(get("api/fail"));
        EXPECT_EQ(error, APIClientError::http(403, item.message, item.code, QStringLiteral("abc"))) << item.body;
    }
    ScopedEnvironment closed("VEXORA_API_BASE_URL", "http://127.0.0.1:1");
    EXPECT_EQ(expectFailure<NetworkError>(get("api/tenants", false)).code(), QNetworkReply::ConnectionRefusedError)
        << "a network failure passes through as itself";
}

// A request must end, never stay suspended, when its manager goes away or is told to finish:
// otherwise whoever awaits it hangs and its memory is held until exit.
TEST_F(HTTPTransportTest, RequestsEndWhenTheirManagerGoesAwayOrIsFinished) {
    server.on("GET", "/api/slow", [](const httplib::Request&, httplib::Response& response) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        response.set_content("{}", "application/json");
    });
    const QNetworkRequest slow = makeServiceRequest(QUrl(server.baseURL() + "/api/slow"), "tests");
    auto outcome = [&](QNetworkAccessManager& network, bool* ended, std::exception_ptr* failure) -> QCoro::Task<void> {
        try {
            co_await sendRequest(network, slow, "GET", std::nullopt);
        } catch (...) {
            *failure = std::current_exception();
        }
        *ended = true;
    };
    auto settle = [] {
        for (int round = 0; round < 20; ++round) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    };

    bool ended = false;
    std::exception_ptr failure;
    auto network = std::make_unique<QNetworkAccessManager>();
    outcome(*network, &ended, &failure);
    settle();
    network.reset();
    settle();
    ASSERT_TRUE(ended);
    EXPECT_TRUE(isCancellationLike(failure));

    ended = false;
    failure = nullptr;
    QNetworkAccessManager kept;
    outcome(kept, &ended, &failure);
    settle();
    finishPendingReplies(kept);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(failure);
    EXPECT_TRUE(kept.findChildren<QNetworkReply*>().isEmpty());
}

TEST_F(HTTPTransportTest, RepliesUpToTheSizeCapArriveWholeAndLargerOnesAreRefused) {
    // Under the cap, a reply of many megabytes arrives whole. (A compressed one that nobody read
    // until the end stalled; the fault suite's noise replies keep that case.)
    std::string noise(12 << 20, 'a');
    std::uint32_t seed = 2463534242u;
    for (char& letter : noise) {
        seed ^= seed << 13, seed ^= seed >> 17, seed ^= seed << 5;
        letter = char('a' + seed % 26);
    }
    server.on("GET", "/api/large", [&noise](const httplib::Request&, httplib::Response& response) {
        response.set_content(R"({"name":")" + noise + R"("})", "application/octet-stream");
    });
    const Named large = runSync(transport.request<Named>(QStringLiteral("api/large"), "GET", std::nullopt, false));
    EXPECT_EQ(large.name.size(), qsizetype(noise.size()));

    // Spaces compress a thousandfold; the cap, not Qt's ratio check, refuses them.
    for (const char* type : {"application/octet-stream", "application/json"}) {
        server.on("GET", "/api/huge", [type](const httplib::Request&, httplib::Response& response) {
            response.set_content(std::string(maxReplyBytes + 1024, ' '), type);
        });
        const auto error = expectFailure<NetworkError>(get("api/huge", false));
        EXPECT_TRUE(error.errorDescription().contains("larger than 16 MB")) << type;
    }
}
