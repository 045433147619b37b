#include "foundation/APIClientError.h"

namespace vexora {

APIClientError APIClientError::http(int statusCode, QString message, std::optional<QString> code,
                                    std::optional<QString> requestID) {
    APIClientError error(Kind::http);
    error.statusCode_ = statusCode;
    error.message_ = std::move(message);
    error.code_ = std::move(code);
    error.requestID_ = std::move(requestID);
    return error;
}

std::optional<int> APIClientError::statusCode() const {
    if (kind_ != Kind::http) return std::nullopt;
    return statusCode_;
}

std::optional<QString> APIClientError::code() const {
    if (kind_ != Kind::http) return std::nullopt;
    return code_;
}

QString APIClientError::errorDescription() const {
    switch (kind_) {
    case Kind::http:
        if (!requestID_) return message_;
        return message_ + QStringLiteral(" (requestId: ") + *requestID_ + QLatin1Char(')');
    case Kind::missingSession: return QStringLiteral("No active session.");
    case Kind::invalidResponse: return QStringLiteral("Invalid server response.");
    case Kind::emptyText: return QStringLiteral("Empty source text.");
    case Kind::unsupportedURL: return QStringLiteral("Enter a valid URL.");
    }
    return {};
}

bool APIClientError::operator==(const APIClientError& other) const {
    return kind_ == other.kind_ && statusCode_ == other.statusCode_ && message_ == other.message_ &&
           code_ == other.code_ && requestID_ == other.requestID_;
}

}  // namespace vexora
