#pragma once

#include "client/UGCHistoryRecords.h"
#include "client/UGCScheduleRecords.h"
#include "client/UGCTypes.h"
#include "foundation/JsonReader.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace vexora {

// Wire records of the workspace context endpoints.

struct TenantOption {
    QString id;
    std::optional<QString> name;
    std::optional<double> balanceCredits;
    std::optional<QString> planType;
    bool operator==(const TenantOption&) const = default;
    static TenantOption fromJson(const JsonReader& reader);
};

struct TenantsResponse {
    QList<TenantOption> tenants;
    static TenantsResponse fromJson(const JsonReader& reader);
};

struct UsageStatsResponse {
    struct Balance {
        std::optional<double> credits;
        std::optional<QString> planType;
    };
    std::optional<double> balanceCredits;
    std::optional<double> credits;
    std::optional<double> availableCredits;
    std::optional<Balance> balance;

    // The first present of balance_credits, available_credits, credits, balance.credits; else 0.
    std::int64_t resolvedCredits() const;
    static UsageStatsResponse fromJson(const JsonReader& reader);
};

struct FavoriteOption {
    QString id;
    std::optional<QString> domain;
    std::optional<QString> name;
    // The name, else the domain, else the id: what pickers show.
    QString displayName() const {
        for (const auto& candidate : {name, domain})
            if (candidate && !candidate->isEmpty()) return *candidate;
        return id;
    }
    bool operator==(const FavoriteOption&) const = default;
    static FavoriteOption fromJson(const JsonReader& reader);
};

struct FavoritesResponse {
    QList<FavoriteOption> favorites;
    static FavoritesResponse fromJson(const JsonReader& reader);
};

struct DashboardProduct {
    QString id;
    QString name;  // the name, else the file name, else the id
    bool operator==(const DashboardProduct&) const = default;
    static DashboardProduct fromJson(const JsonReader& reader);
};

struct ProductsResponse {
    QList<DashboardProduct> products;  // from "products", else "documents", else none
    static ProductsResponse fromJson(const JsonReader& reader);
};

struct ConnectedSocialAccount {
    QString id;        // the connection id, sent back as a publish target's account_id
    QString platform;  // as the server writes it
    QString accountID;  // the platform's own id, shown only
    std::optional<QString> accountName;
    // The account's name, else the platform's id for it: what menus and listings show.
    QString displayName() const { return accountName && !accountName->isEmpty() ? *accountName : accountID; }
    bool isActive = false;
    bool operator==(const ConnectedSocialAccount&) const = default;
    static ConnectedSocialAccount fromJson(const JsonReader& reader);
};

// A bare Boolean, or an object with "temporarilyDisabled" (else the required "disabled").
struct PlatformConnectionLock {
    bool temporarilyDisabled = false;
    std::optional<QString> message;
    bool operator==(const PlatformConnectionLock&) const = default;
    static PlatformConnectionLock fromJson(const JsonReader& reader);
};

struct ConnectionLocks {
    std::optional<PlatformConnectionLock> tiktok;
    std::optional<PlatformConnectionLock> instagram;
    bool isLocked(UGCPlatform platform) const;
    bool operator==(const ConnectionLocks&) const = default;
    static ConnectionLocks fromJson(const JsonReader& reader);
};

struct SocialAccountsResponse {
    QList<ConnectedSocialAccount> accounts;
    std::optional<ConnectionLocks> connectionLocks;
    static SocialAccountsResponse fromJson(const JsonReader& reader);
};

// Everything a workspace shows, loaded in one go.
struct UGCContextBundle {
    std::int64_t balanceCredits = 0;
    QList<FavoriteOption> favorites;
    QList<DashboardProduct> products;
    QList<ConnectedSocialAccount> socialAccounts;  // active ones only, in server order
    ConnectionLocks connectionLocks;
    HistoryResponse history;
    ScheduleListState schedules;
};

// A credit number as an integer: truncated toward zero, clamped to the 64-bit range, 0 when
// not finite. The service does not promise sane numbers; we never fail on them.
std::int64_t truncatedCredits(double value);

}  // namespace vexora
