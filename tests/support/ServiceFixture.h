#pragma once

#include "auth/AuthManager.h"
#include "config/UGCAppConfiguration.h"
#include "foundation/HTTPTransport.h"
#include "support/PrivateKeyring.h"
#include "support/RecordingServer.h"
#include "support/ScopedEnvironment.h"
#include "workflow/UGCSessionVault.h"

#include <QNetworkAccessManager>
#include <gtest/gtest.h>
#include <httplib.h>

namespace vexora::test {

// A recording server on loopback, the configuration pointed at it, and the transport wired to
// the vault and the auth service the way the application wires them. A refresh stores the new
// session in the keyring.
class ServiceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!onPrivateTestBus()) GTEST_FAIL() << privateKeyringRefusal;
    }

    RecordingServer server;
    ScopedEnvironment baseURL{"VEXORA_API_BASE_URL", server.baseURL().toUtf8()};
    QNetworkAccessManager network;
    UGCSessionVault vault;
    AuthManager auth{UGCAppConfiguration::core(), network};
    HTTPTransport transport{UGCAppConfiguration::core(), [this] { return vault.storedSession(); },
                            [this](UserSession expiring) { return refreshIntoVault(std::move(expiring)); }, network};

    QCoro::Task<UserSession> refreshIntoVault(UserSession expiring) {
        UserSession fresh = co_await auth.refreshSession(std::move(expiring));
        vault.replace(fresh);
        co_return fresh;
    }

    static UserSession sessionExpiringIn(double seconds, QString token = QStringLiteral("old-token")) {
        return UserSession{std::move(token), QStringLiteral("refresh-1"), currentEpochSeconds() + seconds,
                           QStringLiteral("user-1"), QStringLiteral("demo@vexora.local")};
    }

    // A refresh endpoint that answers with a fresh session for `token`, after `delay`.
    void serveRefresh(std::string token, std::chrono::milliseconds delay = std::chrono::milliseconds(0)) {
        server.on("POST", "/api/auth/refresh", [token, delay](const httplib::Request&, httplib::Response& response) {
            std::this_thread::sleep_for(delay);
            const double expiresAt = currentEpochSeconds() + 3600;
            response.set_content(R"({"message":"ok","user":{"id":"user-1","email":"demo@vexora.local"},)"
                                 R"("session":{"access_token":")" + token + R"(","refresh_token":"refresh-2","expires_at":)" +
                                     std::to_string(expiresAt) + "}}",
                                 "application/json");
        });
    }
};

}  // namespace vexora::test
