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

// The demo workspace; asset URLs point at `origin`.
Seed makeSeed(const std::string& origin);

std::string avatarURL(const std::string& origin, const std::string& id);
std::string videoURL(const std::string& origin, const std::string& id);

}  // namespace devserver
