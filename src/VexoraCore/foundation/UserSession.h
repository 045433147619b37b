#pragma once

#include "foundation/Json.h"

#include <QString>
#include <optional>

namespace vexora {

class JsonReader;

// The signed-in user's tokens. Stored as JSON with exactly the field names as keys.
struct UserSession {
    QString accessToken;
    QString refreshToken;
    double expiresAt = 0;  // seconds since 1970-01-01 UTC, may carry a fraction
    QString userID;
    std::optional<QString> email;

    bool operator==(const UserSession&) const = default;

    // Expiring: less than `refreshMarginSeconds` ahead, or already past.
    bool isExpired() const;
    static constexpr double refreshMarginSeconds = 30;

    Json toJson() const;  // "email" omitted when absent
    static UserSession fromJson(const JsonReader& reader);
};

size_t qHash(const UserSession& session, size_t seed = 0);

// Seconds since 1970-01-01 UTC, with a fraction.
double currentEpochSeconds();

}  // namespace vexora
