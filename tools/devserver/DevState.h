#pragma once

#include <nlohmann/json.hpp>

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace devserver {

using nlohmann::json;

// Settings tests and demos can change at run time.
struct Settings {
    int latencyMs = 0;
    double tokenLifetimeSeconds = 3600;
    bool schedulesEnabled = true;
    std::set<std::string> failTopics;    // a topic containing one of these fails to render
    std::set<std::string> failAccounts;  // publishing to these connection ids fails
    json locks = json::object();          // connectionLocks as sent
    double browserSessionTTLSeconds = 120;
    int historyCount = 64;  // entries and faces of the seeded library
    int avatarCount = 64;
    int renderPolls = 4;    // polls a render answers, the last one with its final status

    json toJson() const;
    void merge(const json& update);
};

struct AccessToken {
    std::string userID;
    double expiresAt = 0;
};

struct BrowserSession {
    std::string pollToken;
    std::string mode;
    double createdAt = 0;
    bool approved = false;
};

struct Render {
    std::string dbID;
    std::string avatarURL;
    int polls = 0;
    int pollsUntilFinal = 4;
    bool fails = false;
};

// Everything the service knows, guarded by one mutex. Handlers lock it briefly; nobody holds
// it while sleeping.
struct DevState {
    std::mutex mutex;
    std::string origin;  // http://127.0.0.1:PORT, for the URLs of our own assets
    Settings startup;  // from the command line; reset returns here
    Settings settings;

    std::map<std::string, AccessToken> accessTokens;
    std::map<std::string, std::string> refreshTokens;  // refresh token -> user id
    std::map<std::string, BrowserSession> browserSessions;
    std::map<std::string, Render> renders;
    std::map<std::string, json> scripts;  // db_id -> script request

    double balanceCredits = 0;
    json favorites, products, accounts, history, avatars, schedules;
    int counter = 0;

    void reset();  // back to the seed, keeping the origin
    void reseedLibrary();  // history and avatars anew, in the sizes the settings ask for
    std::string nextID(const std::string& prefix);
    json issueSession(const std::string& userID);  // {"access_token","refresh_token","expires_at"}
};

double nowSeconds();
std::string randomToken(const char* prefix);

}  // namespace devserver
