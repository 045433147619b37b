#include "DevState.h"

#include "SeedData.h"

#include <algorithm>
#include <chrono>
#include <random>

namespace devserver {

double nowSeconds() {
    using namespace std::chrono;
    return double(duration_cast<microseconds>(system_clock::now().time_since_epoch()).count()) / 1e6;
}

std::string randomToken(const char* prefix) {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    static const char digits[] = "0123456789abcdef";
    std::string token = prefix;
    for (int i = 0; i < 32; ++i) token += digits[generator() % 16];
    return token;
}

json Settings::toJson() const {
    return {{"latency_ms", latencyMs},
            {"token_lifetime_seconds", tokenLifetimeSeconds},
            {"schedules_enabled", schedulesEnabled},
            {"fail_topics", failTopics},
            {"fail_accounts", failAccounts},
            {"locks", locks},
            {"browser_session_ttl_seconds", browserSessionTTLSeconds},
            {"history_count", historyCount},
            {"avatar_count", avatarCount},
            {"render_polls", renderPolls}};
}

void Settings::merge(const json& update) {
    latencyMs = update.value("latency_ms", latencyMs);
    tokenLifetimeSeconds = update.value("token_lifetime_seconds", tokenLifetimeSeconds);
    schedulesEnabled = update.value("schedules_enabled", schedulesEnabled);
    if (update.contains("fail_topics")) failTopics = update.at("fail_topics").get<std::set<std::string>>();
    if (update.contains("fail_accounts")) failAccounts = update.at("fail_accounts").get<std::set<std::string>>();
    if (update.contains("locks")) locks = update.at("locks");
    browserSessionTTLSeconds = update.value("browser_session_ttl_seconds", browserSessionTTLSeconds);
    historyCount = std::max(0, update.value("history_count", historyCount));
    avatarCount = std::max(0, update.value("avatar_count", avatarCount));
    renderPolls = std::max(1, update.value("render_polls", renderPolls));
}

void DevState::reset() {
    accessTokens.clear();
    refreshTokens.clear();
    browserSessions.clear();
    renders.clear();
    scripts.clear();
    counter = 0;
    const Seed seed = makeSeed(origin, settings.historyCount, settings.avatarCount);
    balanceCredits = seed.balanceCredits;
    favorites = seed.favorites;
    products = seed.products;
    accounts = seed.accounts;
    history = seed.history;
    avatars = seed.avatars;
    schedules = seed.schedules;
    settings.locks = seed.locks;
}

void DevState::reseedLibrary() {
    const Seed seed = makeSeed(origin, settings.historyCount, settings.avatarCount);
    history = seed.history;
    avatars = seed.avatars;
}

std::string DevState::nextID(const std::string& prefix) { return prefix + std::to_string(++counter); }

json DevState::issueSession(const std::string& userID) {
    const std::string access = randomToken("at_");
    const std::string refresh = randomToken("rt_");
    const double expiresAt = nowSeconds() + settings.tokenLifetimeSeconds;
    accessTokens[access] = AccessToken{userID, expiresAt};
    refreshTokens[refresh] = userID;
    return {{"access_token", access}, {"refresh_token", refresh}, {"expires_at", expiresAt}};
}

}  // namespace devserver
