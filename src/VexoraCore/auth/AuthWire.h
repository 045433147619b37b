#pragma once

#include "auth/AuthRecords.h"
#include "foundation/Json.h"
#include "foundation/UserSession.h"

#include <QString>
#include <optional>

namespace vexora {

class JsonReader;

// Wire records of the authentication endpoints.

struct UserPayload {
    QString id;
    std::optional<QString> email;
    static UserPayload fromJson(const JsonReader& reader);
};

struct SessionPayload {
    QString accessToken;
    QString refreshToken;
    double expiresAt = 0;
    static SessionPayload fromJson(const JsonReader& reader);
};

// The success answer of sign-in and of refresh.
struct SignInResponse {
    QString message;
    UserPayload user;
    SessionPayload session;
    static SignInResponse fromJson(const JsonReader& reader);
};

struct NativeBrowserAuthStartResponse {
    QString sessionId;
    QString pollToken;
    QString mode;
    QString authUrl;
    static NativeBrowserAuthStartResponse fromJson(const JsonReader& reader);
};

struct NativeBrowserAuthPollResponse {
    QString status;
    std::optional<QString> mode;
    std::optional<UserPayload> user;
    std::optional<SessionPayload> session;
    static NativeBrowserAuthPollResponse fromJson(const JsonReader& reader);
};

UserSession makeUserSession(const UserPayload& user, const SessionPayload& session);

Json signInPayload(const QString& email, const QString& password);
Json refreshSessionPayload(const QString& refreshToken);
Json browserAuthStartPayload(NativeAuthFlowMode mode, std::optional<NativeAuthProvider> provider);

}  // namespace vexora
