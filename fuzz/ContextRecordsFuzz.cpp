// The workspace context replies: tenants, credits, favorites, products, social accounts.

#include "FuzzHarness.h"

#include "client/UGCContextRecords.h"

#include <cmath>

using namespace vexora;

namespace {

// Truncation and clamping never move a credit number away from zero.
void checkCredits(const std::optional<double>& value) {
    if (!value) return;
    const std::int64_t credits = truncatedCredits(*value);
    if (!std::isfinite(*value)) return fuzz::check(credits == 0, "non-finite credits are not 0");
    fuzz::check(std::fabs(double(credits)) <= std::fabs(*value), "credits grew away from zero");
    fuzz::check(credits == 0 || (credits > 0) == (*value > 0), "credits changed sign");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::dispatch(data, size, {
        [](const QByteArray& body) {
            if (auto reply = fuzz::decodedBody<TenantsResponse>(body))
                for (const TenantOption& tenant : reply->tenants) checkCredits(tenant.balanceCredits);
        },
        [](const QByteArray& body) {
            const auto reply = fuzz::decodedBody<UsageStatsResponse>(body);
            if (!reply) return;
            for (const auto& value : {reply->balanceCredits, reply->credits, reply->availableCredits,
                                      reply->balance ? reply->balance->credits : std::nullopt})
                checkCredits(value);
            reply->resolvedCredits();
        },
        [](const QByteArray& body) {
            if (auto reply = fuzz::decodedBody<FavoritesResponse>(body))
                for (const FavoriteOption& favorite : reply->favorites) favorite.displayName();
        },
        [](const QByteArray& body) { fuzz::decodedBody<ProductsResponse>(body); },
        [](const QByteArray& body) {
            const auto reply = fuzz::decodedBody<SocialAccountsResponse>(body);
            if (!reply) return;
            for (const ConnectedSocialAccount& account : reply->accounts) account.displayName();
            if (reply->connectionLocks)
                for (UGCPlatform platform : {UGCPlatform::tiktok, UGCPlatform::instagram}) reply->connectionLocks->isLocked(platform);
        },
    });
    return 0;
}
