#pragma once

#include "foundation/DescribedError.h"

#include <QNetworkReply>

namespace vexora {

// A transport-level failure: no connection, a timeout, a broken reply.
// A local file could not be read, written or moved; the text names the file and the reason.
class FileError : public DescribedError {
public:
    explicit FileError(QString text) : text_(std::move(text)) {}
    QString errorDescription() const override { return text_; }

private:
    QString text_;
};

class NetworkError : public DescribedError {
public:
    NetworkError(QNetworkReply::NetworkError code, QString text) : code_(code), text_(std::move(text)) {}
    QNetworkReply::NetworkError code() const { return code_; }
    QString errorDescription() const override { return text_; }

private:
    QNetworkReply::NetworkError code_;
    QString text_;
};

// A reply or stored value that does not have the expected shape; `path` names the bad key.
class DecodingError : public DescribedError {
public:
    DecodingError(QString path, QString problem) : path_(std::move(path)), problem_(std::move(problem)) {}
    QString path() const { return path_; }
    QString problem() const { return problem_; }
    QString errorDescription() const override;

private:
    QString path_;
    QString problem_;
};

// The system's secure credential store refused an operation.
class SecureStoreError : public DescribedError {
public:
    enum class Status { unavailable, accessDenied, failed };
    SecureStoreError(Status status, QString detail) : status_(status), detail_(std::move(detail)) {}
    Status status() const { return status_; }
    QString detail() const { return detail_; }
    QString errorDescription() const override;

private:
    Status status_;
    QString detail_;
};

// Raised by an awaitable whose stop token was triggered. Never shown to the user.
class CancellationError : public DescribedError {
public:
    QString errorDescription() const override { return QStringLiteral("Cancelled."); }
};

}  // namespace vexora
