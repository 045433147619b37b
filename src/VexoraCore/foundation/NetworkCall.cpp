#include "foundation/NetworkCall.h"

#include "foundation/AsyncEvent.h"
#include "foundation/FoundationErrors.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QUuid>
#include <memory>

namespace vexora {

namespace {

constexpr int requestTimeoutMilliseconds = 60'000;

struct DeleteLater {
    void operator()(QObject* object) const { object->deleteLater(); }
};

}  // namespace

std::optional<QString> HTTPReply::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0) return QString::fromUtf8(value);
    return std::nullopt;
}

QNetworkRequest makeServiceRequest(const QUrl& url, const QString& clientHeader) {
    QNetworkRequest request(url);
    request.setTransferTimeout(requestTimeoutMilliseconds);
    // A redirect must never carry the bearer token to another origin.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    request.setRawHeader("x-client", clientHeader.toUtf8());
    return request;
}

CappedReplyBody::CappedReplyBody(QNetworkReply& reply) : reply_(reply) {
    announced_ = QObject::connect(&reply, &QNetworkReply::metaDataChanged, [this] {
        if (reply_.header(QNetworkRequest::ContentLengthHeader).toLongLong() > maxReplyBytes) refuse();
    });
    arrived_ = QObject::connect(&reply, &QNetworkReply::readyRead, [this] { receive(); });
}

CappedReplyBody::~CappedReplyBody() {
    QObject::disconnect(announced_);
    QObject::disconnect(arrived_);
}

void CappedReplyBody::receive() {
    if (oversized_ || !reply_.isOpen()) return;
    body_ += reply_.readAll();
    if (body_.size() > maxReplyBytes) refuse();
}

void CappedReplyBody::refuse() {
    if (oversized_) return;
    oversized_ = true;
    body_.clear();
    reply_.abort();
}

QByteArray CappedReplyBody::take() {
    receive();
    return oversized_ ? QByteArray() : std::move(body_);
}

void finishPendingReplies(QNetworkAccessManager& network) {
    for (QNetworkReply* reply : network.findChildren<QNetworkReply*>())
        if (reply->isRunning()) reply->abort();
    // The requests resume from posted events and their replies go with deferred deletes; a
    // request's unwinding may post more, hence a few rounds.
    for (int round = 0; round < 8 && !network.findChildren<QNetworkReply*>().isEmpty(); ++round) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QString newRequestID() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(); }

QCoro::Task<HTTPReply> sendRequest(QNetworkAccessManager& network, QNetworkRequest request, QByteArray method,
                                   std::optional<QByteArray> body, std::stop_token stop) {
    if (stop.stop_requested()) throw CancellationError();
    // The size cap bounds what a compressed reply may grow to; Qt's own ratio check would refuse
    // the same reply first, with an unclear "Decompression failed".
    request.setDecompressedSafetyCheckThreshold(-1);
    std::unique_ptr<QNetworkReply, DeleteLater> reply(
        body ? network.sendCustomRequest(request, method, *body) : network.sendCustomRequest(request, method));

    AsyncEvent finished;
    const QPointer<QNetworkReply> alive(reply.get());
    QObject::connect(reply.get(), &QNetworkReply::finished, [&finished] { finished.set(); });
    // A manager that goes away deletes its replies without a finished signal: the request ends then
    // too, instead of waiting forever.
    const QMetaObject::Connection onGone =
        QObject::connect(reply.get(), &QObject::destroyed, [&finished] { finished.set(); });
    CappedReplyBody received(*reply);
    // Queued: the reply is aborted from the event loop, not inside whoever requested the stop.
    std::stop_callback onStop(stop, [alive] {
        if (alive) QMetaObject::invokeMethod(alive, &QNetworkReply::abort, Qt::QueuedConnection);
    });
    co_await finished.wait();

    if (!alive) {
        (void)reply.release();
        throw CancellationError();
    }
    QObject::disconnect(onGone);
    if (stop.stop_requested()) throw CancellationError();
    QByteArray bytes = received.take();
    if (received.isOversized())
        throw NetworkError(QNetworkReply::UnknownContentError,
                           QStringLiteral("The server's reply is larger than %1 MB and was refused.").arg(maxReplyBytes >> 20));

    // Only our own stop aborts on purpose; any other abort is the transfer timeout.
    const QNetworkReply::NetworkError error = reply->error();
    if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError)
        throw NetworkError(QNetworkReply::TimeoutError, QStringLiteral("The request timed out."));
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const std::optional<int> statusCode = status.isValid() ? std::optional(status.toInt()) : std::nullopt;
    // Errors below ContentAccessDenied are transport failures, such as a reply cut off mid-body.
    // Above it Qt only restates a failure status, which callers map themselves; with a success
    // status they mean the body is unusable (a decompression bomb, say).
    if (error != QNetworkReply::NoError &&
        (!statusCode || error < QNetworkReply::ContentAccessDenied || HTTPReply::isSuccessStatus(statusCode)))
        throw NetworkError(error, reply->errorString());
    co_return HTTPReply{statusCode, std::move(bytes), reply->rawHeaderPairs()};
}

}  // namespace vexora
