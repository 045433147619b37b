#pragma once

#include <QByteArray>
#include <QCoroTask>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>
#include <optional>
#include <stop_token>

class QNetworkAccessManager;
class QNetworkReply;

namespace vexora {

// What came back from one request.
struct HTTPReply {
    std::optional<int> statusCode;  // none when the answer was not HTTP
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;

    bool isSuccess() const { return isSuccessStatus(statusCode); }
    static bool isSuccessStatus(std::optional<int> status) { return status && *status >= 200 && *status <= 299; }
    std::optional<QString> header(const QByteArray& name) const;  // case-insensitive
};

// Replies larger than this are refused rather than read into memory.
inline constexpr qint64 maxReplyBytes = 16 * 1024 * 1024;

// Collects a reply's body as it arrives, since Qt pauses a transfer that nobody reads, and aborts
// the reply once its announced or received body passes maxReplyBytes.
class CappedReplyBody {
public:
    explicit CappedReplyBody(QNetworkReply& reply);
    ~CappedReplyBody();
    CappedReplyBody(const CappedReplyBody&) = delete;
    CappedReplyBody& operator=(const CappedReplyBody&) = delete;

    bool isOversized() const { return oversized_; }
    // The whole body, once the reply has finished; empty when it was oversized.
    QByteArray take();

private:
    void receive();
    void refuse();

    QNetworkReply& reply_;
    QByteArray body_;
    bool oversized_ = false;
    QMetaObject::Connection announced_;
    QMetaObject::Connection arrived_;
};

// The one request builder: 60-second timeout, default cache policy, same-origin redirects only,
// and the `x-client` header every request of this system carries.
QNetworkRequest makeServiceRequest(const QUrl& url, const QString& clientHeader);

// Aborts what is still in flight on `network` and lets the waiting requests run to their end, so
// none is left suspended (and its memory held) when the owner goes away or the process exits.
void finishPendingReplies(QNetworkAccessManager& network);

// A fresh random request identifier in upper-case canonical form.
QString newRequestID();

// Sends a request and waits for the whole reply. Network failures raise NetworkError, an
// oversized reply raises NetworkError too, and `stop` aborts the reply and raises CancellationError.
QCoro::Task<HTTPReply> sendRequest(QNetworkAccessManager& network, QNetworkRequest request, QByteArray method,
                                   std::optional<QByteArray> body, std::stop_token stop = {});

}  // namespace vexora
