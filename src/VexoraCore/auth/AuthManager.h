#pragma once

#include "auth/AuthRecords.h"
#include "auth/AuthWire.h"
#include "auth/KeychainStore.h"
#include "foundation/CoreAppConfiguration.h"
#include "foundation/NetworkCall.h"

#include <QCoroTask>
#include <QStringList>
#include <stop_token>

class QNetworkAccessManager;

namespace vexora {

// Talks to the service's authentication endpoints and keeps the session in the keyring.
// It sends its own requests (not through HTTPTransport), with the same `x-client` header.
class AuthManager {
public:
    AuthManager(CoreAppConfiguration configuration, QNetworkAccessManager& network);

    KeychainStore& keychainStore() { return keychainStore_; }

    // The stored session, refreshed when it is about to expire; none on any failure.
    QCoro::Task<std::optional<UserSession>> restoreSession();
    QCoro::Task<UserSession> signIn(QString email, QString password, std::stop_token stop = {});
    QCoro::Task<UserSession> refreshSession(UserSession session, std::stop_token stop = {});
    QCoro::Task<void> save(UserSession session);
    QCoro::Task<NativeBrowserAuthStartResponse> startBrowserAuth(NativeAuthFlowMode mode,
                                                                 std::optional<NativeAuthProvider> provider,
                                                                 std::stop_token stop = {});
    QCoro::Task<NativeBrowserAuthPollResponse> pollBrowserAuth(QString sessionId, QString pollToken,
                                                               std::stop_token stop = {});
    QCoro::Task<void> signOut();

private:
    struct Call {
        QStringList pathComponents;
        QByteArray method;
        std::optional<Json> body;
        bool withRequestID = false;
        std::optional<QString> bearerToken;
    };
    QCoro::Task<HTTPReply> send(Call call, std::stop_token stop);
    QCoro::Task<UserSession> exchangeForSession(Call call, QString fallbackMessage, std::stop_token stop);

    CoreAppConfiguration configuration_;
    KeychainStore keychainStore_;
    QNetworkAccessManager& network_;
};

}  // namespace vexora
