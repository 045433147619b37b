#pragma once

#include "foundation/DescribedError.h"

#include <optional>

namespace vexora {

// The one error of the transport and service-client layers.
class APIClientError : public DescribedError {
public:
    enum class Kind { http, missingSession, invalidResponse, emptyText, unsupportedURL };

    static APIClientError http(int statusCode, QString message, std::optional<QString> code = std::nullopt,
                               std::optional<QString> requestID = std::nullopt);
    static APIClientError missingSession() { return APIClientError(Kind::missingSession); }
    static APIClientError invalidResponse() { return APIClientError(Kind::invalidResponse); }
    static APIClientError emptyText() { return APIClientError(Kind::emptyText); }
    static APIClientError unsupportedURL() { return APIClientError(Kind::unsupportedURL); }

    Kind kind() const { return kind_; }
    // Present only for the http case.
    std::optional<int> statusCode() const;
    std::optional<QString> code() const;
    QString message() const { return message_; }
    std::optional<QString> requestID() const { return requestID_; }

    QString errorDescription() const override;
    bool operator==(const APIClientError& other) const;

private:
    explicit APIClientError(Kind kind) : kind_(kind) {}

    Kind kind_;
    int statusCode_ = 0;
    QString message_;
    std::optional<QString> code_;
    std::optional<QString> requestID_;
};

}  // namespace vexora
