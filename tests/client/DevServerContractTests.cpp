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
}
