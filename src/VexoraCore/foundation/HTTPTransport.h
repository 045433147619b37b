#pragma once

#include "foundation/APIClientError.h"
#include "foundation/CoreAppConfiguration.h"
#include "foundation/Json.h"
#include "foundation/JsonReader.h"
#include "foundation/NetworkCall.h"
#include "foundation/UserSession.h"

#include <QObject>
#include <QPointer>
#include <QUuid>
#include <functional>

class QNetworkAccessManager;

namespace vexora {

// Performs the service's authenticated JSON requests against the configured base URL.
// Lives on the GUI thread: code between two awaits runs atomically, which is what keeps the
// shared refresh below race-free without locks.
class HTTPTransport : public QObject {
    Q_OBJECT
public:
    using SessionProvider = std::function<std::optional<UserSession>()>;
    // Exchanges an expiring session for a fresh one; empty means the transport cannot refresh.
    using SessionRefreshHandler = std::function<QCoro::Task<UserSession>(UserSession)>;

    HTTPTransport(CoreAppConfiguration configuration, SessionProvider sessionProvider,
                  SessionRefreshHandler sessionRefreshHandler, QNetworkAccessManager& network, QObject* parent = nullptr);

    // Sends the request and decodes a success body with `Response::fromJson(const JsonReader&)`.
    template <typename Response>
    QCoro::Task<Response> request(QString path, QString method, std::optional<Json> body, bool authenticated,
                                  std::stop_token stop = {}) {
        const HTTPReply reply = co_await performRequest(std::move(path), std::move(method), std::move(body),
                                                        authenticated, std::move(stop));
        co_return Response::fromJson(JsonReader::parse(reply.body));
    }

    // The same steps without decoding: the raw success reply.
    QCoro::Task<HTTPReply> performRequest(QString path, QString method, std::optional<Json> body, bool authenticated,
                                          std::stop_token stop = {});

    // The error for a reply whose status lies outside 200-299.
    static APIClientError decodeHTTPError(const HTTPReply& reply);

private:
    struct RefreshOutcome;
    struct RefreshFlight {
        QUuid id;
        std::shared_ptr<RefreshOutcome> outcome;
    };

    std::optional<QUrl> resolve(const QString& path) const;
    QCoro::Task<UserSession> refreshSession(UserSession expiring, std::stop_token stop);
    static QCoro::Task<void> runRefresh(QPointer<HTTPTransport> transport, SessionRefreshHandler handler, QUuid id,
                                        std::shared_ptr<RefreshOutcome> outcome, UserSession expiring);

    CoreAppConfiguration configuration_;
    SessionProvider sessionProvider_;
    SessionRefreshHandler sessionRefreshHandler_;
    QNetworkAccessManager& network_;
    std::optional<RefreshFlight> inFlightRefresh_;
};

}  // namespace vexora
