#include "auth/AuthManager.h"
#include "config/UGCAppConfiguration.h"
#include "foundation/FoundationErrors.h"
#include "foundation/HTTPTransport.h"
#include "foundation/JSONValue.h"
#include "support/DevServer.h"
#include "support/RunSync.h"
#include "support/ScopedEnvironment.h"

#include <QNetworkAccessManager>
#include <gtest/gtest.h>

using namespace vexora;
using namespace vexora::test;

namespace {

// The devserver must refuse what the real service refuses, or the suites built on it prove nothing.
class DevServerContractTest : public ::testing::Test {
protected:
    DevServer server;
    ScopedEnvironment baseURL{"VEXORA_API_BASE_URL", server.baseURL().toUtf8()};
    QNetworkAccessManager network;
    std::optional<UserSession> session = server.signInDemo();
    HTTPTransport transport{UGCAppConfiguration::core(), [this] { return session; }, {}, network};

    APIClientError refusal(const QString& path, const QString& method = "GET", std::optional<Json> body = std::nullopt) {
        return expectFailure<APIClientError>(transport.request<JSONValue>(path, method, std::move(body), true));
    }
};

}  // namespace

TEST_F(DevServerContractTest, RefusesWhatTheServiceRefuses) {
    EXPECT_EQ(refusal("api/ai-insights/favorites").code(), QStringLiteral("TENANT_REQUIRED"));
    EXPECT_EQ(refusal("api/ai-insights/favorites?tenantId=someone-else").statusCode(), 403);
    EXPECT_EQ(refusal("api/dashboard/shorts/script", "POST", Json{{"tenantId", "tenant-demo"}, {"topic", nullptr}}).code(),
              QStringLiteral("NULL_VALUE"));

    session->accessToken = QStringLiteral("forged");
    EXPECT_EQ(refusal("api/tenants").code(), QStringLiteral("UNAUTHENTICATED"));

    session = server.signInDemo();
    server.control("POST", "expire-tokens");
    EXPECT_EQ(refusal("api/tenants").statusCode(), 401) << "an expired token is refused, so clients must refresh";

    const auto unrouted = server.requests("/api/tenants");
    ASSERT_FALSE(unrouted.empty());
    EXPECT_EQ(unrouted.back().headers.at("x-client"), "macos-ugc-volley");
}

TEST_F(DevServerContractTest, ScriptedFaultsReachTheClient) {
    server.script("GET", "/api/tenants", Json::array({{{"drop", true}}, {{"status", 200}, {"body", "{\"tenants\": ["}}}));
    const auto dropped = expectFailure<NetworkError>(transport.request<JSONValue>("api/tenants", "GET", std::nullopt, true));
    EXPECT_FALSE(dropped.errorDescription().isEmpty());
    expectFailure<DecodingError>(transport.request<JSONValue>("api/tenants", "GET", std::nullopt, true));
    EXPECT_NO_THROW(runSync(transport.request<JSONValue>("api/tenants", "GET", std::nullopt, true))) << "scripts are used up";
}

TEST_F(DevServerContractTest, BrowserSignInCompletesOnceApproved) {
    AuthManager auth(UGCAppConfiguration::core(), network);
    const auto started = runSync(auth.startBrowserAuth(NativeAuthFlowMode::signin, NativeAuthProvider::github));
    EXPECT_TRUE(started.authUrl.startsWith(server.baseURL() + "/auth/browser/"));
    EXPECT_EQ(runSync(auth.pollBrowserAuth(started.sessionId, started.pollToken)).status, "pending");

    QNetworkRequest approve(QUrl(started.authUrl + "/approve"));
    runSync(sendRequest(network, approve, "POST", QByteArray()));
    const auto complete = runSync(auth.pollBrowserAuth(started.sessionId, started.pollToken));
    EXPECT_EQ(complete.status, "complete");
    ASSERT_TRUE(complete.session && complete.user);
    EXPECT_EQ(complete.user->email, QStringLiteral("demo@vexora.local"));
    EXPECT_EQ(runSync(auth.pollBrowserAuth(started.sessionId, started.pollToken)).status, "expired");

    server.configure({{"browser_session_ttl_seconds", 0}});
    const auto stale = runSync(auth.startBrowserAuth(NativeAuthFlowMode::signup, std::nullopt));
    EXPECT_EQ(runSync(auth.pollBrowserAuth(stale.sessionId, stale.pollToken)).status, "expired");
}
