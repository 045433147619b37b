#pragma once

#include "foundation/Json.h"
#include "foundation/UserSession.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace vexora {

class JsonReader;

enum class AuthStatus { unauthenticated, authenticating, authenticated, error };
QString rawValue(AuthStatus status);
std::optional<AuthStatus> authStatusFromRawValue(const QString& raw);

// The live authentication state the workflow owns.
struct AuthState {
    AuthStatus status = AuthStatus::unauthenticated;
    std::optional<QString> tenantID;
    std::optional<QString> tenantName;
    std::optional<QString> customDomain;
    std::optional<std::int64_t> balanceCredits;
    std::optional<QString> planType;
    std::optional<QDateTime> lastCheckedAt;
    std::optional<UserSession> session;
    std::optional<QString> errorMessage;

    bool operator==(const AuthState&) const = default;

    static const AuthState unauthenticated;

    Json toJson() const;  // field names as keys, absent fields omitted, dates as ISO 8601
    static AuthState fromJson(const JsonReader& reader);
};

// The signed-in user's current workspace.
struct AuthenticatedContext {
    QString tenantID;
    std::optional<QString> tenantName;
    std::optional<QString> customDomain;
    std::int64_t balanceCredits = 0;
    std::optional<QString> planType;

    bool operator==(const AuthenticatedContext&) const = default;
};

enum class NativeAuthFlowMode { signin, signup };
QString rawValue(NativeAuthFlowMode mode);

// The browser sign-in providers, in display order.
enum class NativeAuthProvider { apple, google, github, linkedinOIDC, facebook };

struct NativeAuthProviderInfo {
    NativeAuthProvider provider;
    QString id;  // sent to the service
    QString title;
    QString monogram;
    QString helperCopy() const { return QStringLiteral("Continue with ") + title; }
};

const QList<NativeAuthProviderInfo>& allNativeAuthProviders();
const NativeAuthProviderInfo& info(NativeAuthProvider provider);
std::optional<NativeAuthProvider> nativeAuthProviderFromRawValue(const QString& raw);

size_t qHash(const AuthState& state, size_t seed = 0);
size_t qHash(const AuthenticatedContext& context, size_t seed = 0);

}  // namespace vexora
