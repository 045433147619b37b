#include "Exchange.h"
#include "SeedData.h"

namespace devserver {

namespace {

// Auth endpoints answer errors with a bare "error" text.
void authError(Exchange& exchange, int status, const std::string& error) { exchange.reply(status, {{"error", error}}); }

json demoUser() { return {{"id", demoUserID}, {"email", demoEmail}}; }

bool requireString(Exchange& exchange, const char* key) {
    if (exchange.body.contains(key) && exchange.body.at(key).is_string()) return true;
    authError(exchange, 400, std::string("Missing ") + key);
    return false;
}

void signIn(Exchange& exchange) {
    if (!requireString(exchange, "email") || !requireString(exchange, "password") || !requireString(exchange, "method")) return;
    if (exchange.body.at("email") != demoEmail || exchange.body.at("password") != demoPassword)
        return authError(exchange, 400, "Invalid login credentials");
    exchange.reply(200, {{"message", "Signed in"}, {"user", demoUser()}, {"session", exchange.state.issueSession(demoUserID)}});
}

void refresh(Exchange& exchange) {
    if (!requireString(exchange, "refresh_token") || !requireString(exchange, "method")) return;
    auto& tokens = exchange.state.refreshTokens;
    auto it = tokens.find(exchange.body.at("refresh_token").get<std::string>());
    if (it == tokens.end()) return authError(exchange, 401, "Invalid refresh token");
    tokens.erase(it);  // a refresh token works once
    exchange.reply(200, {{"message", "Refreshed"}, {"user", demoUser()}, {"session", exchange.state.issueSession(demoUserID)}});
}

void startBrowserSession(Exchange& exchange) {
    if (!requireString(exchange, "mode")) return;
    const std::string id = randomToken("bs_");
    const std::string mode = exchange.body.at("mode");
    exchange.state.browserSessions[id] = BrowserSession{randomToken("pt_"), mode, nowSeconds(), false};
    exchange.reply(200, {{"sessionId", id},
                         {"pollToken", exchange.state.browserSessions[id].pollToken},
                         {"mode", mode},
                         {"authUrl", exchange.state.origin + "/auth/browser/" + id}});
}

void pollBrowserSession(Exchange& exchange) {
    auto& sessions = exchange.state.browserSessions;
    auto it = sessions.find(exchange.captures.at(0));
    if (it == sessions.end()) return exchange.reply(404, {{"status", "expired"}});
    BrowserSession& session = it->second;
    if (exchange.request.get_header_value("Authorization") != "Bearer " + session.pollToken)
        return authError(exchange, 401, "Invalid poll token");
    if (!session.approved) {
        if (nowSeconds() - session.createdAt > exchange.state.settings.browserSessionTTLSeconds) {
            sessions.erase(it);
            return exchange.reply(404, {{"status", "expired"}});
        }
        return exchange.reply(200, {{"status", "pending"}, {"mode", session.mode}});
    }
    const std::string mode = session.mode;
    sessions.erase(it);  // a completed session hands out its tokens once
    exchange.reply(200, {{"status", "complete"}, {"mode", mode}, {"user", demoUser()},
                         {"session", exchange.state.issueSession(demoUserID)}});
}

}  // namespace

void addAuthRoutes(Router& router) {
    router.add("POST", "/api/auth/signin", Tenant::none, false, signIn);
    router.add("POST", "/api/auth/refresh", Tenant::none, false, refresh);
    router.add("POST", "/api/auth/native/session", Tenant::none, false, startBrowserSession);
    router.add("GET", "/api/auth/native/session/([^/]+)", Tenant::none, false, pollBrowserSession);
}

}  // namespace devserver
