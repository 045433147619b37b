#include "auth/AuthManager.h"

#include "foundation/APIClientError.h"
#include "foundation/FoundationErrors.h"
#include "foundation/JsonReader.h"

namespace vexora {

namespace {

// The base URL with each component appended as one encoded path segment, so a component can
// never add segments, a query or a fragment of its own.
QUrl appendingPathComponents(QUrl base, const QStringList& components) {
    QString path = base.path(QUrl::FullyEncoded);
    for (const QString& component : components) {
        if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
        path += QString::fromLatin1(QUrl::toPercentEncoding(component));
    }
    base.setPath(path, QUrl::TolerantMode);
    return base;
}

// Error bodies of the auth endpoints are objects of strings; only "error" is used.
QString authErrorMessage(const QByteArray& body, const QString& fallback) {
    try {
        const JsonReader payload = JsonReader::parse(body);
        if (!payload.isObject()) return fallback;
        std::optional<QString> error;
        for (auto it = payload.value().begin(); it != payload.value().end(); ++it) {
            if (!it->is_string()) return fallback;
            if (it.key() == "error") error = it->get<QString>();
        }
        if (error && !error->isEmpty()) return *error;
    } catch (const DecodingError&) {
    }
    return fallback;
}

APIClientError authFailure(const HTTPReply& reply, const QString& fallback) {
    return APIClientError::http(*reply.statusCode, authErrorMessage(reply.body, fallback));
}

bool isHTTPFailure(const HTTPReply& reply) { return reply.statusCode && !reply.isSuccess(); }

}  // namespace

AuthManager::AuthManager(CoreAppConfiguration configuration, QNetworkAccessManager& network)
    : configuration_(configuration), keychainStore_(std::move(configuration)), network_(network) {}

QCoro::Task<HTTPReply> AuthManager::send(Call call, std::stop_token stop) {
    QNetworkRequest request =
        makeServiceRequest(appendingPathComponents(configuration_.apiBaseURL(), call.pathComponents), configuration_.clientHeader);
    std::optional<QByteArray> body;
    if (call.body) {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
        body = encodeJson(*call.body);
    }
    if (call.withRequestID) request.setRawHeader("x-request-id", newRequestID().toLatin1());
    if (call.bearerToken) request.setRawHeader("Authorization", "Bearer " + call.bearerToken->toUtf8());
    co_return co_await sendRequest(network_, std::move(request), call.method, std::move(body), std::move(stop));
}

QCoro::Task<UserSession> AuthManager::exchangeForSession(Call call, QString fallbackMessage, std::stop_token stop) {
    const HTTPReply reply = co_await send(std::move(call), std::move(stop));
    if (isHTTPFailure(reply)) throw authFailure(reply, fallbackMessage);
    const SignInResponse response = SignInResponse::fromJson(JsonReader::parse(reply.body));
    const UserSession session = makeUserSession(response.user, response.session);
    // The sign-in fails when the session cannot be kept, although the service accepted it.
    co_await keychainStore_.save(session);
    co_return session;
}

QCoro::Task<UserSession> AuthManager::signIn(QString email, QString password, std::stop_token stop) {
    Call call{{QStringLiteral("api"), QStringLiteral("auth"), QStringLiteral("signin")}, "POST",
              signInPayload(email, password), true, std::nullopt};
    co_return co_await exchangeForSession(std::move(call), QStringLiteral("Authentication failed"), std::move(stop));
}

QCoro::Task<UserSession> AuthManager::refreshSession(UserSession session, std::stop_token stop) {
    Call call{{QStringLiteral("api"), QStringLiteral("auth"), QStringLiteral("refresh")}, "POST",
              refreshSessionPayload(session.refreshToken), true, std::nullopt};
    co_return co_await exchangeForSession(std::move(call), QStringLiteral("Session refresh failed"), std::move(stop));
}

QCoro::Task<std::optional<UserSession>> AuthManager::restoreSession() {
    std::optional<UserSession> stored;
    try {
        stored = co_await keychainStore_.loadSession();
    } catch (...) {
        co_return std::nullopt;  // an unreadable store is treated as signed out; the item stays
    }
    if (!stored || !stored->isExpired()) co_return stored;
    bool rejected = false;
    try {
        co_return co_await refreshSession(*stored);
    } catch (const APIClientError& error) {
        rejected = error.statusCode() == 401 || error.statusCode() == 403;
    } catch (...) {
        // Network, server or decoding trouble: keep the item for the next launch.
    }
    if (rejected) co_await keychainStore_.clearSession();
    co_return std::nullopt;
}

QCoro::Task<void> AuthManager::save(UserSession session) { co_await keychainStore_.save(std::move(session)); }

QCoro::Task<NativeBrowserAuthStartResponse> AuthManager::startBrowserAuth(NativeAuthFlowMode mode,
                                                                          std::optional<NativeAuthProvider> provider,
                                                                          std::stop_token stop) {
    Call call{{QStringLiteral("api"), QStringLiteral("auth"), QStringLiteral("native"), QStringLiteral("session")},
              "POST", browserAuthStartPayload(mode, provider), false, std::nullopt};
    const HTTPReply reply = co_await send(std::move(call), std::move(stop));
    if (isHTTPFailure(reply)) throw authFailure(reply, QStringLiteral("Could not start browser sign in"));
    co_return NativeBrowserAuthStartResponse::fromJson(JsonReader::parse(reply.body));
}

QCoro::Task<NativeBrowserAuthPollResponse> AuthManager::pollBrowserAuth(QString sessionId, QString pollToken,
                                                                        std::stop_token stop) {
    Call call{{QStringLiteral("api"), QStringLiteral("auth"), QStringLiteral("native"), QStringLiteral("session"), sessionId},
              "GET", std::nullopt, false, pollToken};
    const HTTPReply reply = co_await send(std::move(call), std::move(stop));
    if (!isHTTPFailure(reply)) co_return NativeBrowserAuthPollResponse::fromJson(JsonReader::parse(reply.body));
    // An expired browser session is an answer, not an error.
    if (*reply.statusCode == 404) {
        try {
            auto expired = NativeBrowserAuthPollResponse::fromJson(JsonReader::parse(reply.body));
            if (expired.status == QLatin1String("expired")) co_return expired;
        } catch (const DecodingError&) {
        }
    }
    throw authFailure(reply, QStringLiteral("Could not read browser sign in status"));
}

QCoro::Task<void> AuthManager::signOut() { co_await keychainStore_.clearSession(); }

}  // namespace vexora
