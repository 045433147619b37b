#include "foundation/FoundationErrors.h"
#include "support/RunSync.h"
#include "support/ServiceFixture.h"

using namespace vexora;
using namespace vexora::test;

namespace {

const char* signInSuccess =
    R"({"message":"Signed in","user":{"id":"user-7","email":"demo@vexora.local"},)"
    R"("session":{"access_token":"access-7","refresh_token":"refresh-7","expires_at":1900000000.5}})";

class AuthManagerTest : public ServiceFixture {
protected:
    void SetUp() override {
        ServiceFixture::SetUp();
        if (!HasFatalFailure()) runSync(auth.signOut());
    }
    std::optional<UserSession> stored() { return runSync(auth.keychainStore().loadSession()); }
};

}  // namespace

TEST_F(AuthManagerTest, SignInSendsThePayloadAndStoresTheSession) {
    server.onJSON("POST", "/api/auth/signin", 200, signInSuccess);
    const UserSession session = runSync(auth.signIn("demo@vexora.local", "demo"));
    EXPECT_EQ(session, (UserSession{"access-7", "refresh-7", 1900000000.5, "user-7", QStringLiteral("demo@vexora.local")}));
    EXPECT_EQ(stored(), session);

    const auto request = server.requestsTo("/api/auth/signin").at(0);
    EXPECT_EQ(Json::parse(request.body), (Json{{"email", "demo@vexora.local"}, {"password", "demo"}, {"method", "macos_menu_bar"}}));
    EXPECT_EQ(request.header("content-type"), "application/json");
    EXPECT_EQ(request.header("x-client"), "macos-ugc-volley");
    EXPECT_FALSE(request.header("x-request-id").empty());
}

TEST_F(AuthManagerTest, FailedSignInsUseTheErrorMemberOrTheFallback) {
    const std::pair<std::string, QString> cases[] = {
        {R"({"error":"Invalid login credentials"})", "Invalid login credentials"},
        {"<html><body>Bad Request</body></html>", "Authentication failed"},
        {R"({"error":"x","status":400})", "Authentication failed"},  // not all strings
        {R"({"message":"no error member"})", "Authentication failed"},
        {"", "Authentication failed"},
    };
    for (const auto& [body, message] : cases) {
        server.onJSON("POST", "/api/auth/signin", 400, body);
        EXPECT_EQ(expectFailure<APIClientError>(auth.signIn("a@b.c", "wrong")), APIClientError::http(400, message)) << body;
    }
    EXPECT_EQ(stored(), std::nullopt);

    server.onJSON("POST", "/api/auth/signin", 200, R"({"user":{"id":"u"},"session":{"access_token":"a","refresh_token":"r","expires_at":1}})");
    EXPECT_EQ(expectFailure<DecodingError>(auth.signIn("a@b.c", "pw")).path(), "message");
    EXPECT_EQ(stored(), std::nullopt);
}

TEST_F(AuthManagerTest, RestoreRefreshesExpiringSessionsAndErasesOnlyRejectedOnes) {
    EXPECT_EQ(runSync(auth.restoreSession()), std::nullopt);

    runSync(auth.save(sessionExpiringIn(3600, "long-lived")));
    EXPECT_EQ(runSync(auth.restoreSession())->accessToken, "long-lived");
    EXPECT_TRUE(server.requests().empty());

    runSync(auth.save(sessionExpiringIn(10)));
    serveRefresh("refreshed");
    EXPECT_EQ(runSync(auth.restoreSession())->accessToken, "refreshed");
    EXPECT_EQ(stored()->accessToken, "refreshed");

    runSync(auth.save(sessionExpiringIn(10, "server-down")));
    server.onJSON("POST", "/api/auth/refresh", 502, "");
    EXPECT_EQ(runSync(auth.restoreSession()), std::nullopt);
    EXPECT_EQ(stored()->accessToken, "server-down") << "a failure of the service keeps the item";

    server.onJSON("POST", "/api/auth/refresh", 200, R"({"message":"half"})");
    EXPECT_EQ(runSync(auth.restoreSession()), std::nullopt);
    EXPECT_EQ(stored()->accessToken, "server-down") << "an undecodable answer keeps the item";
    {
        ScopedEnvironment closed("VEXORA_API_BASE_URL", "http://127.0.0.1:1");
        EXPECT_EQ(runSync(AuthManager(UGCAppConfiguration::core(), network).restoreSession()), std::nullopt);
    }
    EXPECT_EQ(stored()->accessToken, "server-down") << "so does an unreachable service";

    for (int status : {401, 403}) {
        runSync(auth.save(sessionExpiringIn(10, "revoked")));
        server.onJSON("POST", "/api/auth/refresh", status, R"({"error":"revoked"})");
        EXPECT_EQ(runSync(auth.restoreSession()), std::nullopt);
        EXPECT_EQ(stored(), std::nullopt) << status;
    }
}

TEST_F(AuthManagerTest, BrowserSignInStartAndPoll) {
    server.onJSON("POST", "/api/auth/native/session", 200,
                  R"({"session_id":"s1","poll_token":"p1","mode":"signin","auth_url":"https://x.test/a"})");
    const auto snake = runSync(auth.startBrowserAuth(NativeAuthFlowMode::signin, std::nullopt));
    EXPECT_EQ(snake.sessionId, "s1");
    EXPECT_EQ(snake.authUrl, "https://x.test/a");
    EXPECT_EQ(Json::parse(server.requests().back().body), (Json{{"mode", "signin"}}));

    server.onJSON("POST", "/api/auth/native/session", 200,
                  R"({"sessionId":"camel","session_id":"snake","pollToken":"p","mode":"signup","authUrl":"u","auth_url":"v"})");
    const auto both = runSync(auth.startBrowserAuth(NativeAuthFlowMode::signup, NativeAuthProvider::linkedinOIDC));
    EXPECT_EQ(both.sessionId, "camel");
    EXPECT_EQ(both.authUrl, "u");
    EXPECT_EQ(Json::parse(server.requests().back().body), (Json{{"mode", "signup"}, {"provider", "linkedin_oidc"}}));

    server.onJSON("POST", "/api/auth/native/session", 500, "oops");
    EXPECT_EQ(expectFailure<APIClientError>(auth.startBrowserAuth(NativeAuthFlowMode::signin, std::nullopt)).message(),
              "Could not start browser sign in");

    server.onJSON("GET", "/api/auth/native/session/s1", 200, R"({"status":"pending"})");
    EXPECT_EQ(runSync(auth.pollBrowserAuth("s1", "poll-secret")).status, "pending");
    const auto poll = server.requests().back();
    EXPECT_EQ(poll.header("authorization"), "Bearer poll-secret");
    EXPECT_FALSE(poll.hasHeader("content-type"));

    server.onJSON("GET", "/api/auth/native/session/s1", 404, R"({"status":"expired"})");
    EXPECT_EQ(runSync(auth.pollBrowserAuth("s1", "p")).status, "expired");
    server.onJSON("GET", "/api/auth/native/session/s1", 404, "");
    EXPECT_EQ(expectFailure<APIClientError>(auth.pollBrowserAuth("s1", "p")),
              APIClientError::http(404, "Could not read browser sign in status"));
}

TEST_F(AuthManagerTest, SessionIdsStayOneSegmentOfThePath) {
    runSync([](AuthManager& manager) -> QCoro::Task<void> {
        try {
            co_await manager.pollBrowserAuth("../../tenants?x=1#f", "p");
        } catch (const APIClientError&) {
        }
    }(auth));
    EXPECT_EQ(server.requests().back().path, "/api/auth/native/session/..%2F..%2Ftenants%3Fx%3D1%23f");
}
