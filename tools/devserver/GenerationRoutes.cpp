#include "Exchange.h"
#include "SeedData.h"

#include <algorithm>

namespace devserver {

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

bool topicFails(const DevState& state, const std::string& topic) {
    const std::string text = lowered(topic);
    if (text.find("fail") != std::string::npos) return true;
    return std::any_of(state.settings.failTopics.begin(), state.settings.failTopics.end(),
                       [&](const std::string& word) { return text.find(lowered(word)) != std::string::npos; });
}

int charge(DevState& state, int credits) {
    state.balanceCredits = std::max(0.0, state.balanceCredits - credits);
    return credits;
}

int limitOf(const Exchange& exchange, int fallback) {
    const std::string text = exchange.query("limit");
    return text.empty() ? fallback : std::clamp(std::atoi(text.c_str()), 1, 50);
}

void suggestTopics(Exchange& exchange) {
    const std::string favorite = exchange.query("favoriteId");
    json suggestions = json::array();
    const bool known = std::any_of(exchange.state.favorites.begin(), exchange.state.favorites.end(),
                                   [&](const json& entry) { return entry.at("id") == favorite; });
    if (favorite.empty() || known) {
        const char* ideas[] = {"Three mistakes people make when choosing linen", "Our best seller, explained in 10 seconds",
                               "What customers ask us most", "A day with the product", "Before and after",
                               "The one feature nobody talks about"};
        for (int i = 0; i < std::min(limitOf(exchange, 5), 6); ++i)
            suggestions.push_back({{"source", "gap"}, {"gap_id", "gap-" + std::to_string(i + 1)}, {"topic", ideas[i]},
                                   {"hook", "Did you know?"}, {"source_snippet", "Competitors rank for this, you do not."}});
    }
    json reply = {{"suggestions", suggestions}, {"reason", "gaps"}};
    if (suggestions.empty()) reply["message"] = "No content gaps found for this favorite yet.";
    exchange.reply(200, reply);
}

void suggestKnowledge(Exchange& exchange) {
    if (exchange.query("favoriteId").empty())
        return exchange.fail(400, "favoriteId is required", "Knowledge suggestions need a favorite.", "BAD_REQUEST");
    json suggestions = json::array();
    const char* ideas[] = {"What the care guide says about washing linen", "The story behind our sourcing",
                           "Sizing, answered from the FAQ"};
    for (int i = 0; i < std::min(limitOf(exchange, 5), 3); ++i)
        suggestions.push_back({{"source", "knowledge"}, {"document_id", "doc-" + std::to_string(i + 1)}, {"topic", ideas[i]},
                               {"source_snippet", "From the workspace's documents."}});
    exchange.reply(200, {{"suggestions", suggestions}, {"reason", "knowledge"}});
}

void script(Exchange& exchange) {
    if (!exchange.requireKeys({"topic", "duration", "requested_duration_seconds", "style", "language"})) return;
    DevState& state = exchange.state;
    const std::string dbID = state.nextID("gen-new-");
    const std::string topic = exchange.body.at("topic");
    state.scripts[dbID] = exchange.body;
    const std::string text = "Stop scrolling! " + topic + ". Here is why it matters, in a few seconds. Tap to see more.";
    state.history.insert(state.history.begin(), json{{"id", dbID}, {"topic", topic}, {"script", text},
                                                     {"duration", exchange.body.at("requested_duration_seconds")},
                                                     {"created_at", "2026-12-01T12:00:00Z"}});
    exchange.reply(200, {{"script", text}, {"title", topic}, {"hashtags", {"#ugc", "#demo"}},
                         {"estimated_duration_sec", exchange.body.at("requested_duration_seconds")},
                         {"credits_charged", charge(state, 2)}, {"db_id", dbID}});
}

void avatar(Exchange& exchange) {
    if (!exchange.requireKeys({"db_id", "gender", "origin", "age_range", "type", "location"})) return;
    const std::string id = exchange.state.nextID("avatar-gen-");
    exchange.reply(200, {{"avatar_url", avatarURL(exchange.state.origin, id)}, {"credits_charged", charge(exchange.state, 3)}});
}

void generate(Exchange& exchange) {
    if (!exchange.requireKeys({"db_id", "prompt", "avatar_url", "reuse_avatar", "duration", "speech_text"})) return;
    DevState& state = exchange.state;
    const std::string dbID = exchange.body.at("db_id");
    const auto script = state.scripts.find(dbID);
    const std::string topic = script == state.scripts.end() ? std::string() : script->second.value("topic", std::string());
    const std::string id = state.nextID("render-");
    state.renders[id] = Render{dbID, exchange.body.at("avatar_url"), 0, state.settings.renderPolls, topicFails(state, topic)};
    exchange.reply(200, {{"generation_id", id}, {"status", "queued"}, {"credits_charged", charge(state, 10)},
                         {"estimated_seconds", 6}});
}

void poll(Exchange& exchange) {
    DevState& state = exchange.state;
    auto it = state.renders.find(exchange.captures.at(0));
    if (it == state.renders.end()) return exchange.fail(404, "Not Found", "No such generation", "NotFound");
    Render& render = it->second;
    const int polls = ++render.polls;
    if (polls < render.pollsUntilFinal) return exchange.reply(200, {{"status", polls == 1 ? "queued" : "processing"}});
    if (render.fails) return exchange.reply(200, {{"status", "failed"}, {"error", "Rendering failed for this topic."}});
    const std::string video = videoURL(state.origin, render.dbID);
    for (json& entry : state.history)
        if (entry.at("id") == render.dbID) entry.update({{"video_url", video}, {"avatar_url", render.avatarURL}});
    exchange.reply(200, {{"status", "completed"}, {"video_url", video}, {"credits_charged", 0}});
}

void recordPublish(json& entry, const json& results) {
    json earlier = entry.value("publish_results", json());
    if (earlier.is_object()) earlier = earlier.value("results", json::array());
    if (!earlier.is_array()) earlier = json::array();
    const auto sameTarget = [](const json& a, const json& b) {
        return a.value("platform", "") == b.value("platform", "") && a.value("account_id", "") == b.value("account_id", "");
    };
    for (const json& result : results) {
        auto it = std::find_if(earlier.begin(), earlier.end(), [&](const json& old) { return old.is_object() && sameTarget(old, result); });
        if (it != earlier.end()) *it = result;
        else earlier.push_back(result);
    }
    entry["publish_results"] = {{"results", earlier}, {"metadataProvider", "devserver"}};
}

void publish(Exchange& exchange) {
    if (!exchange.requireKeys({"db_id", "video_url", "speech_text", "targets"})) return;
    DevState& state = exchange.state;
    json results = json::array();
    for (const json& target : exchange.body.at("targets")) {
        const std::string account = target.value("account_id", std::string());
        const std::string platform = target.value("platform", std::string());
        const bool known = std::any_of(state.accounts.begin(), state.accounts.end(),
                                       [&](const json& entry) { return entry.at("id") == account && entry.at("is_active") == true; });
        if (!known || state.settings.failAccounts.count(account)) {
            results.push_back({{"platform", platform}, {"account_id", account}, {"status", "failed"}, {"ok", false},
                               {"error", {{"code", "PUBLISH_FAILED"}, {"message", "The platform rejected the upload."}}}});
            continue;
        }
        const std::string post = state.nextID("post-");
        results.push_back({{"platform", platform}, {"account_id", account}, {"status", "success"}, {"ok", true},
                           {"post_id", post}, {"url", "https://social.example/" + platform + "/" + post}});
    }
    for (json& entry : state.history)
        if (entry.at("id") == exchange.body.at("db_id")) recordPublish(entry, results);
    exchange.reply(200, {{"results", results}});
}

}  // namespace

void addGenerationRoutes(Router& router) {
    const std::string shorts = "/api/dashboard/shorts/";
    router.add("GET", shorts + "suggest-topics", Tenant::query, true, suggestTopics);
    router.add("GET", shorts + "suggest-knowledge", Tenant::query, true, suggestKnowledge);
    router.add("POST", shorts + "script", Tenant::body, true, script);
    router.add("POST", shorts + "avatar", Tenant::body, true, avatar);
    router.add("POST", shorts + "generate", Tenant::body, true, generate);
    router.add("POST", shorts + "publish", Tenant::body, true, publish);
}

// Registered after the library routes, so "history" and friends are never taken for an id.
void addPollRoute(Router& router) {
    router.add("GET", "/api/dashboard/shorts/([^/]+)", Tenant::query, true, poll);
}

}  // namespace devserver
