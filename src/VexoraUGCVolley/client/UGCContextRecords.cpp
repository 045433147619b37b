#include "client/UGCContextRecords.h"

#include <cmath>
#include <limits>

namespace vexora {

std::int64_t truncatedCredits(double value) {
    if (!std::isfinite(value)) return 0;
    const double whole = std::trunc(value);
    if (whole >= 9223372036854775807.0) return std::numeric_limits<std::int64_t>::max();
    if (whole <= -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(whole);
}

TenantOption TenantOption::fromJson(const JsonReader& reader) {
    return TenantOption{reader.requiredString("id"), reader.optionalString("name"), reader.optionalNumber("balance_credits"),
                        reader.optionalString("plan_type")};
}

TenantsResponse TenantsResponse::fromJson(const JsonReader& reader) {
    return TenantsResponse{reader.requiredList<TenantOption>("tenants")};
}

std::int64_t UsageStatsResponse::resolvedCredits() const {
    // Not the declaration order: available credits win over plain credits.
    for (const auto& candidate : {balanceCredits, availableCredits, credits, balance ? balance->credits : std::nullopt})
        if (candidate) return truncatedCredits(*candidate);
    return 0;
}

UsageStatsResponse UsageStatsResponse::fromJson(const JsonReader& reader) {
    UsageStatsResponse response{reader.optionalNumber("balance_credits"), reader.optionalNumber("credits"),
                                reader.optionalNumber("available_credits"), std::nullopt};
    if (auto balance = reader.optionalMember("balance"))
        response.balance = Balance{balance->optionalNumber("credits"), balance->optionalString("planType")};
    return response;
}

FavoriteOption FavoriteOption::fromJson(const JsonReader& reader) {
    return FavoriteOption{reader.requiredString("id"), reader.optionalString("domain"), reader.optionalString("name")};
}

FavoritesResponse FavoritesResponse::fromJson(const JsonReader& reader) {
    return FavoritesResponse{reader.requiredList<FavoriteOption>("favorites")};
}

DashboardProduct DashboardProduct::fromJson(const JsonReader& reader) {
    const QString id = reader.requiredString("id");
    const QString name = reader.optionalString("name").value_or(reader.optionalString("file_name").value_or(id));
    return DashboardProduct{id, name};
}

ProductsResponse ProductsResponse::fromJson(const JsonReader& reader) {
    // A reply of another shape is a failure, not a workspace without products.
    reader.requireObject();
    for (const char* key : {"products", "documents"})
        if (reader.has(key)) return ProductsResponse{reader.requiredList<DashboardProduct>(key)};
    return ProductsResponse{};
}

ConnectedSocialAccount ConnectedSocialAccount::fromJson(const JsonReader& reader) {
    return ConnectedSocialAccount{reader.requiredString("id"), reader.requiredString("platform"),
                                  reader.requiredString("account_id"), reader.optionalString("account_name"),
                                  reader.member("is_active").boolean()};
}

PlatformConnectionLock PlatformConnectionLock::fromJson(const JsonReader& reader) {
    if (reader.value().is_boolean()) return PlatformConnectionLock{reader.boolean(), std::nullopt};
    const bool disabled = reader.has("temporarilyDisabled") ? reader.member("temporarilyDisabled").boolean()
                                                             : reader.member("disabled").boolean();
    return PlatformConnectionLock{disabled, reader.optionalString("message")};
}

bool ConnectionLocks::isLocked(UGCPlatform platform) const {
    const auto& lock = platform == UGCPlatform::tiktok ? tiktok : instagram;
    return lock && lock->temporarilyDisabled;
}

ConnectionLocks ConnectionLocks::fromJson(const JsonReader& reader) {
    ConnectionLocks locks;
    if (auto lock = reader.optionalMember("tiktok")) locks.tiktok = PlatformConnectionLock::fromJson(*lock);
    if (auto lock = reader.optionalMember("instagram")) locks.instagram = PlatformConnectionLock::fromJson(*lock);
    return locks;
}

SocialAccountsResponse SocialAccountsResponse::fromJson(const JsonReader& reader) {
    SocialAccountsResponse response{reader.requiredList<ConnectedSocialAccount>("accounts"), std::nullopt};
    if (auto locks = reader.optionalMember("connectionLocks")) response.connectionLocks = ConnectionLocks::fromJson(*locks);
    return response;
}

}  // namespace vexora
