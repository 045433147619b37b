#include "auth/AuthRecords.h"

#include "foundation/JsonReader.h"

#include <QHashFunctions>

namespace vexora {

namespace {

const QList<QString>& authStatusRawValues() {
    static const QList<QString> values{QStringLiteral("unauthenticated"), QStringLiteral("authenticating"),
                                       QStringLiteral("authenticated"), QStringLiteral("error")};
    return values;
}

}  // namespace

QString rawValue(AuthStatus status) { return authStatusRawValues().at(int(status)); }

std::optional<AuthStatus> authStatusFromRawValue(const QString& raw) {
    const qsizetype index = authStatusRawValues().indexOf(raw);
    if (index < 0) return std::nullopt;
    return AuthStatus(index);
}

const AuthState AuthState::unauthenticated{};

Json AuthState::toJson() const {
    Json json = {{"status", rawValue(status)}};
    putIfPresent(json, "tenantID", tenantID);
    putIfPresent(json, "tenantName", tenantName);
    putIfPresent(json, "customDomain", customDomain);
    putIfPresent(json, "balanceCredits", balanceCredits);
    putIfPresent(json, "planType", planType);
    if (lastCheckedAt) json["lastCheckedAt"] = isoDateText(*lastCheckedAt);
    if (session) json["session"] = session->toJson();
    putIfPresent(json, "errorMessage", errorMessage);
    return json;
}

AuthState AuthState::fromJson(const JsonReader& reader) {
    const JsonReader statusReader = reader.member("status");
    const auto status = authStatusFromRawValue(statusReader.string());
    if (!status) statusReader.fail(QStringLiteral("is not a known status"));
    AuthState state;
    state.status = *status;
    state.tenantID = reader.optionalString("tenantID");
    state.tenantName = reader.optionalString("tenantName");
    state.customDomain = reader.optionalString("customDomain");
    state.balanceCredits = reader.optionalInteger("balanceCredits");
    state.planType = reader.optionalString("planType");
    state.lastCheckedAt = reader.optionalDate("lastCheckedAt");
    if (auto stored = reader.optionalMember("session")) state.session = UserSession::fromJson(*stored);
    state.errorMessage = reader.optionalString("errorMessage");
    return state;
}

QString rawValue(NativeAuthFlowMode mode) {
    return mode == NativeAuthFlowMode::signin ? QStringLiteral("signin") : QStringLiteral("signup");
}

const QList<NativeAuthProviderInfo>& allNativeAuthProviders() {
    static const QList<NativeAuthProviderInfo> providers{
        {NativeAuthProvider::apple, QStringLiteral("apple"), QStringLiteral("Apple"), QStringLiteral("A")},
        {NativeAuthProvider::google, QStringLiteral("google"), QStringLiteral("Google"), QStringLiteral("G")},
        {NativeAuthProvider::github, QStringLiteral("github"), QStringLiteral("GitHub"), QStringLiteral("GH")},
        {NativeAuthProvider::linkedinOIDC, QStringLiteral("linkedin_oidc"), QStringLiteral("LinkedIn"), QStringLiteral("in")},
        {NativeAuthProvider::facebook, QStringLiteral("facebook"), QStringLiteral("Facebook"), QStringLiteral("f")},
    };
    return providers;
}

const NativeAuthProviderInfo& info(NativeAuthProvider provider) { return allNativeAuthProviders().at(int(provider)); }

std::optional<NativeAuthProvider> nativeAuthProviderFromRawValue(const QString& raw) {
    for (const auto& entry : allNativeAuthProviders())
        if (entry.id == raw) return entry.provider;
    return std::nullopt;
}

size_t qHash(const AuthState& state, size_t seed) {
    return qHashMulti(seed, int(state.status), state.tenantID.value_or(QString()), state.tenantName.value_or(QString()),
                      state.customDomain.value_or(QString()), qint64(state.balanceCredits.value_or(-1)),
                      state.planType.value_or(QString()), state.lastCheckedAt.value_or(QDateTime()),
                      state.session ? qHash(*state.session) : 0, state.errorMessage.value_or(QString()));
}

size_t qHash(const AuthenticatedContext& context, size_t seed) {
    return qHashMulti(seed, context.tenantID, context.tenantName.value_or(QString()),
                      context.customDomain.value_or(QString()), qint64(context.balanceCredits),
                      context.planType.value_or(QString()));
}

}  // namespace vexora
