#include "auth/AuthWire.h"

#include "foundation/JsonReader.h"

namespace vexora {

namespace {

const char* const signInMethod = "macos_menu_bar";

// The camel-case key when present, else the snake-case one, which is then required.
QString camelOrSnake(const JsonReader& reader, std::string_view camel, std::string_view snake) {
    return reader.has(camel) ? reader.requiredString(camel) : reader.requiredString(snake);
}

}  // namespace

UserPayload UserPayload::fromJson(const JsonReader& reader) {
    return UserPayload{reader.requiredString("id"), reader.optionalString("email")};
}

SessionPayload SessionPayload::fromJson(const JsonReader& reader) {
    return SessionPayload{reader.requiredString("access_token"), reader.requiredString("refresh_token"),
                          reader.requiredNumber("expires_at")};
}

SignInResponse SignInResponse::fromJson(const JsonReader& reader) {
    return SignInResponse{reader.requiredString("message"), UserPayload::fromJson(reader.member("user")),
                          SessionPayload::fromJson(reader.member("session"))};
}

NativeBrowserAuthStartResponse NativeBrowserAuthStartResponse::fromJson(const JsonReader& reader) {
    return NativeBrowserAuthStartResponse{camelOrSnake(reader, "sessionId", "session_id"),
                                          camelOrSnake(reader, "pollToken", "poll_token"), reader.requiredString("mode"),
                                          camelOrSnake(reader, "authUrl", "auth_url")};
}

NativeBrowserAuthPollResponse NativeBrowserAuthPollResponse::fromJson(const JsonReader& reader) {
    NativeBrowserAuthPollResponse response{reader.requiredString("status"), reader.optionalString("mode"), {}, {}};
    if (auto user = reader.optionalMember("user")) response.user = UserPayload::fromJson(*user);
    if (auto session = reader.optionalMember("session")) response.session = SessionPayload::fromJson(*session);
    return response;
}

UserSession makeUserSession(const UserPayload& user, const SessionPayload& session) {
    return UserSession{session.accessToken, session.refreshToken, session.expiresAt, user.id, user.email};
}

Json signInPayload(const QString& email, const QString& password) {
    return {{"email", email}, {"password", password}, {"method", signInMethod}};
}

Json refreshSessionPayload(const QString& refreshToken) {
    return {{"refresh_token", refreshToken}, {"method", signInMethod}};
}

Json browserAuthStartPayload(NativeAuthFlowMode mode, std::optional<NativeAuthProvider> provider) {
    Json payload = {{"mode", rawValue(mode)}};
    if (provider) payload["provider"] = info(*provider).id;
    return payload;
}

}  // namespace vexora
