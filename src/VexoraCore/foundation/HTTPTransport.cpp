#include "foundation/HTTPTransport.h"

#include "foundation/AsyncEvent.h"
#include "foundation/FoundationErrors.h"

namespace vexora {

struct HTTPTransport::RefreshOutcome {
    AsyncEvent done;
    std::optional<UserSession> session;
    std::exception_ptr error;
};

HTTPTransport::HTTPTransport(CoreAppConfiguration configuration, SessionProvider sessionProvider,
                             SessionRefreshHandler sessionRefreshHandler, QNetworkAccessManager& network, QObject* parent)
    : QObject(parent),
      configuration_(std::move(configuration)),
      sessionProvider_(std::move(sessionProvider)),
      sessionRefreshHandler_(std::move(sessionRefreshHandler)),
      network_(network) {}

std::optional<QUrl> HTTPTransport::resolve(const QString& path) const {
    const QUrl relative(path);
    // Only paths relative to the service are accepted: nothing with a scheme or a host.
    if (!relative.isValid() || !relative.scheme().isEmpty() || !relative.host().isEmpty()) return std::nullopt;
    const QUrl base = configuration_.apiBaseURL();
    const QUrl resolved = base.resolved(relative);
    if (!resolved.isValid() || resolved.isRelative()) return std::nullopt;
    if (resolved.scheme() != base.scheme() || resolved.host() != base.host()) return std::nullopt;
    return resolved;
}

QCoro::Task<HTTPReply> HTTPTransport::performRequest(QString path, QString method, std::optional<Json> body,
                                                     bool authenticated, std::stop_token stop) {
    const std::optional<QUrl> url = resolve(path);
    if (!url) throw APIClientError::unsupportedURL();

    QNetworkRequest request = makeServiceRequest(*url, configuration_.clientHeader);
    request.setRawHeader("x-request-id", newRequestID().toLatin1());
    std::optional<QByteArray> encodedBody;
    if (body) {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
        encodedBody = encodeJson(*body);
    }

    if (authenticated) {
        std::optional<UserSession> session = sessionProvider_();
        if (!session) throw APIClientError::missingSession();
        if (session->isExpired()) {
            if (!sessionRefreshHandler_) throw APIClientError::missingSession();
            session = co_await refreshSession(*session, stop);
        }
        request.setRawHeader("Authorization", "Bearer " + session->accessToken.toUtf8());
    }

    HTTPReply reply = co_await sendRequest(network_, std::move(request), method.toLatin1(), std::move(encodedBody), stop);
    if (!reply.statusCode) throw APIClientError::invalidResponse();
    if (!reply.isSuccess()) throw decodeHTTPError(reply);
    co_return reply;
}

APIClientError HTTPTransport::decodeHTTPError(const HTTPReply& reply) {
    std::optional<QString> error, message, code;
    try {
        const JsonReader payload = JsonReader::parse(reply.body);
        error = payload.optionalString("error");
        message = payload.optionalString("message");
        code = payload.optionalString("code");
    } catch (const DecodingError&) {
        error = message = code = std::nullopt;  // no payload
    }
    return APIClientError::http(reply.statusCode.value_or(0), message.value_or(error.value_or(QStringLiteral("Request failed"))),
                                code ? code : error, reply.header("x-request-id"));
}

QCoro::Task<UserSession> HTTPTransport::refreshSession(UserSession expiring, std::stop_token stop) {
    // Everyone who finds the session expiring while a refresh runs waits for that same refresh.
    std::shared_ptr<RefreshOutcome> outcome;
    if (inFlightRefresh_) {
        outcome = inFlightRefresh_->outcome;
    } else {
        outcome = std::make_shared<RefreshOutcome>();
        const QUuid id = QUuid::createUuid();
        inFlightRefresh_ = RefreshFlight{id, outcome};
        runRefresh(this, sessionRefreshHandler_, id, outcome, std::move(expiring));
    }
    co_await outcome->done.wait(std::move(stop));
    if (outcome->error) std::rethrow_exception(outcome->error);
    // A copy: QCoro moves from a co_returned lvalue, which would empty it for the other waiters.
    co_return UserSession(*outcome->session);
}

QCoro::Task<void> HTTPTransport::runRefresh(QPointer<HTTPTransport> transport, SessionRefreshHandler handler, QUuid id,
                                            std::shared_ptr<RefreshOutcome> outcome, UserSession expiring) {
    try {
        outcome->session = co_await handler(std::move(expiring));
    } catch (...) {
        outcome->error = std::current_exception();
    }
    // A newer refresh installed meanwhile stays in place.
    if (transport && transport->inFlightRefresh_ && transport->inFlightRefresh_->id == id) transport->inFlightRefresh_.reset();
    outcome->done.set();
}

}  // namespace vexora
