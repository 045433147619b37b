#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace devserver {

inline const std::string demoEmail = "demo@vexora.local";
inline const std::string demoPassword = "demo";
inline const std::string demoUserID = "user-demo";
inline const std::string demoTenantID = "tenant-demo";
inline const std::string demoTenantName = "Demo Workspace";

struct Seed {
    double balanceCredits = 0;
    nlohmann::json favorites, products, accounts, locks, history, avatars, schedules;
};

inline constexpr int seedHistoryCount = 64;
inline constexpr int seedAvatarCount = 64;

// The demo workspace; asset URLs point at `origin`. Benchmarks ask for larger libraries.
Seed makeSeed(const std::string& origin, int historyCount = seedHistoryCount, int avatarCount = seedAvatarCount);

std::string avatarURL(const std::string& origin, const std::string& id);
std::string videoURL(const std::string& origin, const std::string& id);

}  // namespace devserver
