#include "Exchange.h"
#include "SeedData.h"

#include <algorithm>

namespace devserver {

namespace {

// Cursor paging: `before` is the id of the last item of the previous page.
json page(const Exchange& exchange, const json& items) {
    const std::string limitText = exchange.query("limit");
    const size_t limit = limitText.empty() ? 50 : size_t(std::clamp(std::atoi(limitText.c_str()), 1, 100));
    const std::string before = exchange.query("before");
    size_t start = 0;
    if (!before.empty()) {
        auto it = std::find_if(items.begin(), items.end(), [&](const json& item) { return item.at("id") == before; });
        start = it == items.end() ? items.size() : size_t(it - items.begin()) + 1;
    }
    json slice = json::array();
    for (size_t i = start; i < items.size() && slice.size() < limit; ++i) slice.push_back(items[i]);
    const bool hasMore = start + slice.size() < items.size();
    json reply = {{"items", slice}, {"has_more", hasMore}};
    if (hasMore) reply["next_cursor"] = slice.back().at("id");
    return reply;
}

bool schedulesOff(Exchange& exchange) {
    if (exchange.state.settings.schedulesEnabled) return false;
    exchange.fail(404, "Schedules are not enabled", "Schedules are not enabled for this workspace", "SCHEDULES_NOT_ENABLED");
    return true;
}

json* findByID(json& items, const std::string& id) {
    for (json& item : items)
        if (item.at("id") == id) return &item;
    return nullptr;
}

void history(Exchange& exchange) { exchange.reply(200, page(exchange, exchange.state.history)); }

void avatars(Exchange& exchange) {
    json reply = page(exchange, exchange.state.avatars);
    reply["limit"] = reply.at("items").size();
    exchange.reply(200, reply);
}

void generateAvatar(Exchange& exchange) {
    if (!exchange.requireKeys({"gender", "origin", "age_range", "type", "location"})) return;
    DevState& state = exchange.state;
    const std::string id = state.nextID("avatar-new-");
    const json item = {{"id", id}, {"avatar_url", avatarURL(state.origin, id)}, {"created_at", "2026-12-01T12:00:00Z"}};
    state.avatars.insert(state.avatars.begin(), item);
    state.balanceCredits = std::max(0.0, state.balanceCredits - 3);
    exchange.reply(200, {{"generation_id", id}, {"avatar_url", item.at("avatar_url")}, {"credits_charged", 3},
                         {"created_at", item.at("created_at")}});
}

void deleteAvatar(Exchange& exchange) {
    json& items = exchange.state.avatars;
    const std::string id = exchange.captures.at(0);
    auto it = std::find_if(items.begin(), items.end(), [&](const json& item) { return item.at("id") == id; });
    if (it == items.end()) return exchange.fail(404, "Not Found", "No such avatar", "NotFound");
    const json removed = *it;
    items.erase(it);
    exchange.reply(200, {{"deleted", true}, {"avatar_id", id}, {"avatar_url", removed.at("avatar_url")}, {"cleared_rows", 1}});
}

void listSchedules(Exchange& exchange) {
    if (schedulesOff(exchange)) return;
    const std::string favorite = exchange.query("favoriteId");
    json schedules = json::array();
    for (const json& schedule : exchange.state.schedules)
        if (favorite.empty() || schedule.at("favorite_id") == favorite) schedules.push_back(schedule);
    exchange.reply(200, {{"schedules", schedules}});
}

void createSchedule(Exchange& exchange) {
    if (schedulesOff(exchange)) return;
    if (!exchange.requireKeys({"favorite_id", "name", "runs_per_day", "run_hours", "timezone", "topic_source",
                               "default_duration", "default_language", "default_avatar_random", "default_avatar_config",
                               "auto_publish", "is_enabled"}))
        return;
    const json& body = exchange.body;
    json schedule = {{"id", exchange.state.nextID("sched-new-")},
                     {"favorite_id", body.at("favorite_id")},
                     {"name", body.at("name")},
                     {"topic_source", body.at("topic_source")},
                     {"avatar_url", body.at("default_avatar_config").value("avatar_url", std::string())},
                     {"runs_per_day", body.at("runs_per_day")},
                     {"run_hours", body.at("run_hours")},
                     {"timezone", body.at("timezone")},
                     {"is_paused", !body.at("is_enabled").get<bool>()},
                     {"is_enabled", body.at("is_enabled")}};
    if (body.contains("default_topic")) schedule["default_topic"] = body.at("default_topic");
    exchange.state.schedules.push_back(schedule);
    exchange.reply(201, {{"schedule", schedule}, {"success", true}});
}

void updateSchedule(Exchange& exchange) {
    if (schedulesOff(exchange)) return;
    json* schedule = findByID(exchange.state.schedules, exchange.captures.at(0));
    if (!schedule) return exchange.fail(404, "Not Found", "No such schedule", "NotFound");
    if (!exchange.requireKeys({"is_enabled"})) return;
    const bool enabled = exchange.body.at("is_enabled").get<bool>();
    (*schedule)["is_enabled"] = enabled;
    (*schedule)["is_paused"] = !enabled;
    exchange.reply(200, {{"schedule", *schedule}, {"success", true}});
}

void deleteSchedule(Exchange& exchange) {
    if (schedulesOff(exchange)) return;
    json& schedules = exchange.state.schedules;
    const std::string id = exchange.captures.at(0);
    auto it = std::find_if(schedules.begin(), schedules.end(), [&](const json& item) { return item.at("id") == id; });
    if (it != schedules.end()) schedules.erase(it);
    exchange.response.status = 204;
}

}  // namespace

void addLibraryRoutes(Router& router) {
    const std::string shorts = "/api/dashboard/shorts/";
    router.add("GET", shorts + "history", Tenant::query, true, history);
    router.add("GET", shorts + "avatars", Tenant::query, true, avatars);
    router.add("POST", shorts + "avatars/generate", Tenant::body, true, generateAvatar);
    router.add("DELETE", shorts + "avatars/([^/]+)", Tenant::query, true, deleteAvatar);
    router.add("GET", shorts + "schedules", Tenant::query, true, listSchedules);
    router.add("POST", shorts + "schedules", Tenant::query, true, createSchedule);
    router.add("PATCH", shorts + "schedules/([^/]+)", Tenant::query, true, updateSchedule);
    router.add("DELETE", shorts + "schedules/([^/]+)", Tenant::query, true, deleteSchedule);
}

}  // namespace devserver
